// assetgen: draws, synthesises and writes every picture, sound, model and font file the game
// reads, the same bytes on every run.
//
//   assetgen --out DATA_ROOT --display-font F --text-font F --text-bold-font F
//            [--contact-sheet SHEET.png]
#include <chrono>
#include <cstdio>
#include <exception>
#include <map>
#include <string>

#include "assetgen/art.h"
#include "assetgen/fonts.h"

namespace {

int Usage() {
  std::fputs(
      "usage: assetgen --out DATA_ROOT --display-font FILE --text-font FILE --text-bold-font FILE\n"
      "                [--contact-sheet SHEET.png]\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i + 1 < argc; i += 2) {
    options[argv[i]] = argv[i + 1];
  }
  for (const char* required : {"--out", "--display-font", "--text-font", "--text-bold-font"}) {
    if (options.count(required) == 0) {
      return Usage();
    }
  }
  if (argc % 2 == 0) {
    return Usage();
  }
  const std::string sheet = options.count("--contact-sheet") ? options["--contact-sheet"] : "";
  try {
    const auto start = std::chrono::steady_clock::now();
    qbart::LoadFonts(
        {options["--display-font"], options["--text-font"], options["--text-bold-font"]});
    qbart::Output out(options["--out"], !sheet.empty());
    qbart::MakeEngineFiles(out, options["--display-font"], options["--text-bold-font"]);
    qbart::MakeMenuArt(out);
    qbart::MakePanelArt(out);
    qbart::MakeOptionsArt(out);
    qbart::MakePlayfieldArt(out);
    qbart::MakeCreatureArt(out);
    qbart::MakeBackdropArt(out);
    qbart::MakeScreenArt(out);
    qbart::MakeHelpPages(out);
    qbart::MakeIcons(out);
    qbart::MakeSoundEffects(out);
    qbart::MakeMusic(out);
    if (!sheet.empty()) {
      qbart::Output sheet_out(".", false);
      sheet_out.Write(sheet, qbart::ContactSheet(out).Png());
    }
    qbart::UnloadFonts();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: %d files in %.1f s\n", out.files_written(), seconds);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "assetgen: %s\n", error.what());
    return 1;
  }
  return 0;
}
