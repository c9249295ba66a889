// Where the generator puts what it makes: files under the data root, and every picture also on
// the contact sheet for review.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "assetgen/canvas.h"

namespace qbart {

class Output {
 public:
  // `keep_pictures` holds every picture for the contact sheet.
  Output(std::filesystem::path root, bool keep_pictures);

  // Writes a file; `path` is relative to the data root and uses '/'.
  void Write(const std::string& path, const Bytes& bytes);
  // Writes a picture file as PNG (or JPEG for ".jpg") and shows it on the sheet.
  void WritePicture(const std::string& path, const Canvas& picture);
  // Shows a picture on the sheet under `name` (pictures that live inside packs).
  void Show(const std::string& name, const Canvas& picture);

  struct Shown {
    std::string name;
    Canvas picture;
  };
  const std::vector<Shown>& shown() const { return shown_; }
  int files_written() const { return files_written_; }

 private:
  std::filesystem::path root_;
  bool keep_pictures_;
  std::vector<Shown> shown_;
  int files_written_ = 0;
};

// One image pack: pictures by entry number; entries nobody fills get a 1 x 1 clear picture.
class PackBuilder {
 public:
  PackBuilder(std::string path, Output& output) : path_(std::move(path)), output_(output) {}
  void Add(int entry, const Canvas& picture);
  void AddJpeg(int entry, const Canvas& picture, int quality);
  // Writes the pack. Entry numbers above the highest added one do not exist.
  void Finish();

 private:
  void Put(int entry, Bytes bytes);
  std::string path_;
  Output& output_;
  std::vector<Bytes> entries_;
};

}  // namespace qbart
