// packtool: writes, lists and extracts image packs.
//
//   packtool create PACK.dat PICTURE...   (entry N is the N-th picture)
//   packtool list PACK.dat
//   packtool extract PACK.dat FOLDER      (writes 000.png, 001.jpg, ...)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <span>
#include <string>

#include "formats/file_io.h"
#include "formats/image_pack.h"
#include "formats/picture_info.h"

namespace {

int Usage() {
  std::fputs(
      "usage: packtool create PACK.dat PICTURE...\n"
      "       packtool list PACK.dat\n"
      "       packtool extract PACK.dat FOLDER\n",
      stderr);
  return 2;
}

void Create(const char* pack_file, std::span<char*> pictures) {
  std::vector<qbtools::Bytes> entries;
  for (const char* picture : pictures) {
    entries.push_back(qbtools::ReadFile(picture));
  }
  qbtools::WriteFile(pack_file, qbtools::BuildPack(entries));
}

void List(const char* pack_file) {
  const qbtools::PackReader pack(qbtools::ReadFile(pack_file));
  std::printf("entry    offset      size  picture\n");
  for (size_t i = 0; i < pack.Count(); ++i) {
    const qbtools::PictureInfo info = qbtools::InspectPicture(pack.Picture(i));
    std::printf("%5zu %9u %9zu  %s %dx%d\n", i, pack.Offset(i), pack.Picture(i).size(),
                info.format.c_str(), info.width, info.height);
  }
}

void Extract(const char* pack_file, const std::filesystem::path& folder) {
  const qbtools::PackReader pack(qbtools::ReadFile(pack_file));
  for (size_t i = 0; i < pack.Count(); ++i) {
    const std::span<const uint8_t> picture = pack.Picture(i);
    const qbtools::PictureInfo info = qbtools::InspectPicture(picture);
    char name[32];
    std::snprintf(name, sizeof name, "%03zu.%s", i, info.extension.c_str());
    qbtools::WriteFile(folder / name, qbtools::Bytes(picture.begin(), picture.end()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    return Usage();
  }
  const std::string command = argv[1];
  try {
    if (command == "create" && argc >= 4) {
      Create(argv[2], std::span<char*>(argv + 3, static_cast<size_t>(argc - 3)));
    } else if (command == "list" && argc == 3) {
      List(argv[2]);
    } else if (command == "extract" && argc == 4) {
      Extract(argv[2], argv[3]);
    } else {
      return Usage();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "packtool: %s\n", error.what());
    return 1;
  }
  return 0;
}
