// The engine's own file readers take good files and refuse damaged ones without crashing.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/dds_image.h"
#include "core/font_file.h"
#include "core/image_decoder.h"
#include "core/wav_info.h"
#include "core/x_model.h"
#include "sample_files.h"

namespace {

using sample::Bytes;

struct Damage {
  const char* name;
  std::function<void(Bytes&)> apply;
};

// Damage that every binary format must survive.
std::vector<Damage> CommonDamage() {
  return {
      {"empty", [](Bytes& b) { b.clear(); }},
      {"magic only", [](Bytes& b) { b.resize(4); }},
      {"half", [](Bytes& b) { b.resize(b.size() / 2); }},
      {"last byte missing", [](Bytes& b) { b.pop_back(); }},
      {"wrong magic", [](Bytes& b) { b[0] ^= 0x20; }},
      {"garbage",
       [](Bytes& b) {
         for (size_t i = 0; i < b.size(); ++i) {
           b[i] = static_cast<uint8_t>(i * 131 + 7);
         }
       }},
  };
}

TEST(XModelTest, ReadsTheQuad) {
  const auto model = engine::ReadXModel(sample::QuadModel());
  ASSERT_TRUE(model);
  EXPECT_EQ(model->positions.size(), 4u);
  EXPECT_EQ(model->triangles.size(), 6u);
  EXPECT_FLOAT_EQ(model->min.x, -0.8f);
  EXPECT_FLOAT_EQ(model->max.y, 0.8f);
  EXPECT_FLOAT_EQ(model->uvs[2].x, 1);
}

TEST(XModelTest, FindsTheMeshInsideFramesAndFansPolygons) {
  const std::string text =
      "xof 0303txt 0032\n"
      "template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices; [...] }\n"
      "Frame root { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n"
      "  Frame inner { Mesh { 4; -1;1;0;, 1;1;0;, 1;-1;0;, -1;-1;0;; 1; 4; 0,1,2,3;;\n"
      "    MeshMaterialList { 1; 1; 0;; { SomeMaterial } }\n"
      "    MeshTextureCoords { 4; 0;0;, 1;0;, 1;1;, 0;1;; } } } }\n";
  const auto model = engine::ReadXModel(text);
  ASSERT_TRUE(model);
  EXPECT_EQ(model->triangles, (std::vector<int32_t>{0, 1, 2, 0, 2, 3}));
}

TEST(XModelTest, RefusesDamagedModels) {
  const std::string quad = sample::QuadModel();
  const auto replace = [&](const std::string& from, const std::string& to) {
    std::string text = quad;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"binary", replace("txt ", "bin ")},
      {"no header", quad.substr(17)},
      {"cut in the positions", quad.substr(0, quad.find("0.8; -0.8"))},
      {"cut in the coordinates", quad.substr(0, quad.rfind("1.0; 1.0"))},
      {"no texture coordinates", replace("MeshTextureCoords", "MeshVertexColors")},
      {"index out of range", replace("0, 2, 3", "0, 2, 4")},
      {"negative index", replace("0, 2, 3", "0, -2, 3")},
      {"too few coordinates", replace("    4;\n    0.0; 0.0;,", "    3;\n    0.0; 0.0;,")},
      {"huge position count", replace("  4;\n  -0.8", "  2000000000;\n  -0.8")},
      {"huge face count", replace("  2;\n  3; 0", "  2000000000;\n  3; 0")},
      {"two-corner face", replace("3; 0, 1, 2;", "2; 0, 1;")},
      {"word for a number", replace("0.8; 0.8; 0.0;,", "0.8; up; 0.0;,")},
      {"no mesh", "xof 0302txt 0032\nHeader { 1; 0; 1; }\n"},
      {"unclosed", "xof 0302txt 0032\nFrame { Frame { Frame {"},
      {"deep nesting", "xof 0302txt 0032\n" + std::string(100000, '{')},
  };
  for (const auto& [name, text] : cases) {
    EXPECT_FALSE(engine::ReadXModel(text)) << name;
  }
}

TEST(DdsTest, ReadsUncompressed32BitPixels) {
  const auto image = engine::ReadDds(sample::Dds(3, 2, 10, 20, 30, 40));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->rgba, (std::vector<uint8_t>{10, 20, 30, 40, 10, 20, 30, 40, 10, 20, 30, 40,
                                               10, 20, 30, 40, 10, 20, 30, 40, 10, 20, 30, 40}));
}

TEST(DdsTest, RefusesDamagedAndUnsupportedFiles) {
  auto cases = CommonDamage();
  cases.push_back({"compressed", [](Bytes& b) {
                     sample::PutU32(b, 80, 0x4);         // four-character code
                     sample::PutU32(b, 84, 0x31545844);  // DXT1
                   }});
  cases.push_back({"24 bits", [](Bytes& b) { sample::PutU32(b, 88, 24); }});
  cases.push_back({"huge width", [](Bytes& b) { sample::PutU32(b, 16, 0xFFFFFFFF); }});
  cases.push_back({"huge height", [](Bytes& b) { sample::PutU32(b, 12, 1 << 30); }});
  cases.push_back({"zero size", [](Bytes& b) { sample::PutU32(b, 16, 0); }});
  cases.push_back({"bad header size", [](Bytes& b) { sample::PutU32(b, 4, 4096); }});
  cases.push_back({"gappy mask", [](Bytes& b) { sample::PutU32(b, 92, 0x00FF00FF); }});
  for (const auto& [name, apply] : cases) {
    Bytes bytes = sample::Dds(8, 8, 1, 2, 3, 4);
    apply(bytes);
    EXPECT_FALSE(engine::ReadDds(bytes)) << name;
  }
}

TEST(ImageDecoderTest, DecodesPngJpegAndDds) {
  const auto png = engine::DecodeImage(sample::Png(5, 3, 0x11223344));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 5);
  EXPECT_EQ(png->height, 3);
  EXPECT_EQ(png->rgba[0], 0x11);
  EXPECT_EQ(png->rgba[3], 0x44);
  const auto jpeg = engine::DecodeImage(sample::Jpeg(16, 8));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->width, 16);
  EXPECT_EQ(jpeg->rgba.size(), 16u * 8 * 4);
  EXPECT_TRUE(engine::DecodeImage(sample::Dds(2, 2, 0, 0, 0, 0)));
}

TEST(ImageDecoderTest, RefusesDamagedPictures) {
  const std::pair<const char*, Bytes> pictures[] = {{"png", sample::Png(32, 32, 0xFF00FFFF)},
                                                    {"jpeg", sample::Jpeg(32, 32)}};
  for (const auto& [format, good] : pictures) {
    for (const auto& [name, apply] : CommonDamage()) {
      Bytes bytes = good;
      apply(bytes);
      EXPECT_FALSE(engine::DecodeImage(bytes)) << format << ": " << name;
    }
  }
  const std::string targa = std::string(18, '\0') + "not really a picture";
  EXPECT_FALSE(engine::DecodeImage(Bytes(targa.begin(), targa.end())));
}

TEST(ImageDecoderTest, ProbesThePictureSizeFromTheHeaderAlone) {
  const auto png = engine::ProbeImage(sample::Png(5, 3, 0x11223344));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 5);
  EXPECT_EQ(png->height, 3);
  const auto jpeg = engine::ProbeImage(sample::Jpeg(16, 8));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->width, 16);
  EXPECT_EQ(jpeg->height, 8);
  const Bytes png32 = sample::Png(32, 32, 0xFF00FFFF);
  EXPECT_FALSE(engine::ProbeImage(Bytes(png32.begin(), png32.end() - 20))) << "png cut short";
  EXPECT_FALSE(engine::ProbeImage(Bytes(png32.begin(), png32.begin() + 12))) << "png signature";
  const Bytes jpeg32 = sample::Jpeg(32, 32);
  EXPECT_FALSE(engine::ProbeImage(Bytes(jpeg32.begin(), jpeg32.begin() + 4))) << "jpeg start";
  EXPECT_FALSE(engine::ProbeImage(Bytes(300, 0x42))) << "no picture";
}

TEST(WavTest, ReadsTheLength) {
  const auto info = engine::ReadWavInfo(sample::Wav(1.25));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->channels, 1);
  EXPECT_EQ(info->sampleRate, 8000);
  EXPECT_DOUBLE_EQ(info->duration, 1.25);
}

TEST(WavTest, RefusesDamagedFiles) {
  auto cases = CommonDamage();
  cases.push_back({"not WAVE", [](Bytes& b) { b[8] = 'A'; }});
  cases.push_back({"no format", [](Bytes& b) { b[12] = 'x'; }});
  cases.push_back({"compressed", [](Bytes& b) { b[20] = 2; }});
  cases.push_back({"no channels", [](Bytes& b) { b[22] = 0; }});
  cases.push_back({"rate mismatch", [](Bytes& b) { sample::PutU32(b, 28, 12345); }});
  cases.push_back({"huge data", [](Bytes& b) { sample::PutU32(b, 40, 0xFFFFFFF0); }});
  cases.push_back({"huge format", [](Bytes& b) { sample::PutU32(b, 16, 0xFFFFFFF0); }});
  cases.push_back({"half a frame", [](Bytes& b) { sample::PutU32(b, 40, 3); }});
  for (const auto& [name, apply] : cases) {
    Bytes bytes = sample::Wav(0.1);
    apply(bytes);
    EXPECT_FALSE(engine::ReadWavInfo(bytes)) << name;
  }
}

TEST(FontFileTest, AcceptsSfntAndRefusesDamage) {
  EXPECT_TRUE(engine::IsFontFile(sample::Font()));
  auto cases = CommonDamage();
  cases.push_back({"no tables", [](Bytes& b) { b[5] = 0; }});
  cases.push_back({"table past the end", [](Bytes& b) { b[27] = 0xF0; }});
  cases.push_back({"huge length", [](Bytes& b) { b[24] = 0xFF; }});
  cases.push_back({"no head", [](Bytes& b) { b[28] = 'x'; }});
  cases.push_back({"no cmap", [](Bytes& b) { b[12] = 'x'; }});
  for (const auto& [name, apply] : cases) {
    Bytes bytes = sample::Font();
    apply(bytes);
    EXPECT_FALSE(engine::IsFontFile(bytes)) << name;
  }
}

}  // namespace
