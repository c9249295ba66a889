#include "assetgen/output.h"

#include <fstream>
#include <stdexcept>

#include "formats/image_pack.h"

namespace qbart {

Output::Output(std::filesystem::path root, bool keep_pictures)
    : root_(std::move(root)), keep_pictures_(keep_pictures) {}

void Output::Write(const std::string& path, const Bytes& bytes) {
  const std::filesystem::path file = root_ / path;
  std::filesystem::create_directories(file.parent_path());
  // Through a temporary file, so a build that stops half way never leaves a cut file behind
  // that looks up to date.
  const std::filesystem::path temporary = file.string() + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      throw std::runtime_error("cannot write " + file.string());
    }
  }
  std::filesystem::rename(temporary, file);
  ++files_written_;
}

void Output::WritePicture(const std::string& path, const Canvas& picture) {
  const bool jpeg = path.size() > 4 && path.substr(path.size() - 4) == ".jpg";
  Write(path, jpeg ? picture.Jpeg(90) : picture.Png());
  Show(path, picture);
}

void Output::Show(const std::string& name, const Canvas& picture) {
  if (keep_pictures_) {
    shown_.push_back({name, picture.Copy()});
  }
}

void PackBuilder::Put(int entry, Bytes bytes) {
  if (static_cast<size_t>(entry) >= entries_.size()) {
    entries_.resize(static_cast<size_t>(entry) + 1);
  }
  if (!entries_[static_cast<size_t>(entry)].empty()) {
    throw std::logic_error(path_ + ": entry " + std::to_string(entry) + " drawn twice");
  }
  entries_[static_cast<size_t>(entry)] = std::move(bytes);
}

void PackBuilder::Add(int entry, const Canvas& picture) {
  Put(entry, picture.Png());
  output_.Show(path_ + " #" + std::to_string(entry), picture);
}

void PackBuilder::AddJpeg(int entry, const Canvas& picture, int quality) {
  Put(entry, picture.Jpeg(quality));
  output_.Show(path_ + " #" + std::to_string(entry), picture);
}

void PackBuilder::Finish() {
  const Bytes blank = Canvas(1, 1).Png();
  for (Bytes& entry : entries_) {
    if (entry.empty()) {
      entry = blank;
    }
  }
  output_.Write(path_, qbtools::BuildPack(entries_));
}

}  // namespace qbart
