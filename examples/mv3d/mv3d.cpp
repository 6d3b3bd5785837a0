// mv3d: the library's model files from the command line. info lists a
// model's objects, resave loads and saves it again, convert brings models of
// other formats in (and, with --to-obj, a model file back out as OBJ), render
// draws one frame headless and view shows the model in a window.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "library/3d/Mv3dobj.h"
#include "model_import.h"
#include "model_report.h"
#include "model_view.h"
#include "obj_export.h"

namespace {

using Morvane3DSystem::TMorvane3DFile;

constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr float kMaxSmoothingAngle = 180;

constexpr char kHelp[] =
    "usage: mv3d COMMAND ARGUMENTS\n"
    "\n"
    "  mv3d info MODEL                 one line per object of the chain: index, name, vertices,\n"
    "                                  indices, environment map, flat shading, alpha-blend and\n"
    "                                  multi-texture codes, the two texture names and the number of\n"
    "                                  triangles with an index past the vertices; then the totals\n"
    "  mv3d resave MODEL OUT           load and save again: the object records the loader reads come\n"
    "                                  out byte for byte; bytes after the last record are not kept\n"
    "  mv3d convert [--smoothing-angle DEG] IN OUT\n"
    "                                  a Wavefront OBJ, glTF 2.0 or other model the import library\n"
    "                                  reads, to a model file, with texture names and materials;\n"
    "                                  normals made for a mesh without them are smoothed only where\n"
    "                                  faces meet at less than DEG degrees (default 80, 0 to 180);\n"
    "                                  textures that are not BMP (PNG, JPEG, ...) become BMP files\n"
    "                                  beside OUT, each one listed; dropped ones are warned about\n"
    "  mv3d convert --to-obj MODEL OUT.obj\n"
    "                                  a model file to OBJ, with its materials in OUT.mtl\n"
    "  mv3d render MODEL OUT.bmp [--size WxH] [--yaw DEG] [--pitch DEG] [--distance D] [--emulated]\n"
    "                    [--stats]\n"
    "                                  one frame drawn headless through the 3D component (default\n"
    "                                  640x480, yaw 30, pitch 20, the whole model in view); --emulated\n"
    "                                  uses the software device, --stats prints draw calls, triangles\n"
    "                                  and state changes\n"
    "  mv3d view MODEL [same options] [--frames N] [--save OUT.bmp]\n"
    "                                  a window: arrows orbit, +/- zoom, Esc quits; --frames stops\n"
    "                                  after N frames, --save writes the last of them\n"
    "  mv3d --help                     this text\n"
    "\n"
    "MODEL is looked for among the program's \"MORVANEX\" resources first, then on disk; render\n"
    "and view find the model's textures (BMP, by their names) in the model's folder.\n";

int usage(const std::string& problem) {
  std::cerr << "mv3d: " << problem << "\n\n" << kHelp;
  return kUsage;
}

int info(const std::string& model) {
  TMorvane3DFile file;
  file.LoadFile(nullptr, model);
  std::cout << mv3d::ReportModel(file);
  return 0;
}

int resave(const std::string& model, const std::string& out) {
  TMorvane3DFile file;
  file.LoadFile(nullptr, model);
  file.SaveFile(out);
  return 0;
}

// Degrees, as the import library takes the smoothing angle.
bool parseAngle(const std::string& text, float& out) {
  char* end = nullptr;
  const float v = std::strtof(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(v >= 0 && v <= kMaxSmoothingAngle)) return false;
  out = v;
  return true;
}

int convert(const std::vector<std::string>& args) {
  bool toObj = false;
  mv3d::ImportOptions options;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--to-obj") {
      toObj = true;
    } else if (a == "--smoothing-angle") {
      if (i + 1 == args.size() || !parseAngle(args[++i], options.smoothingAngle))
        return usage("--smoothing-angle takes degrees from 0 to 180");
    } else if (a.starts_with("--")) {
      return usage("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return usage("convert takes IN and OUT");
  TMorvane3DFile file;
  if (toObj) {
    file.LoadFile(nullptr, files[0]);
    mv3d::ExportObj(file, files[1]);
    return 0;
  }
  const std::filesystem::path source = std::filesystem::absolute(files[0]).parent_path();
  const std::filesystem::path target = std::filesystem::absolute(files[1]).parent_path();
  mv3d::TextureConverter textures(source, target);
  mv3d::ImportResult imported = mv3d::ImportModel(files[0], options, textures);
  std::vector<std::string> warnings = imported.warnings;
  warnings.insert(warnings.end(), textures.Warnings().begin(), textures.Warnings().end());
  for (const std::string& warning : warnings) std::cerr << "mv3d: warning: " << warning << "\n";
  textures.Write(std::cout);
  file.SetRoot(std::move(imported.root));
  file.SaveFile(files[1]);
  return 0;
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) return usage("no command");
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kHelp;
    return 0;
  }
  if (command == "info") return rest.size() == 1 ? info(rest[0]) : usage("info takes MODEL");
  if (command == "resave")
    return rest.size() == 2 ? resave(rest[0], rest[1]) : usage("resave takes MODEL OUT");
  if (command == "convert") return convert(rest);
  if (command == "render" || command == "view") {
    const bool forView = command == "view";
    mv3d::ViewOptions options;
    std::vector<std::string> files;
    std::string why;
    if (!mv3d::ParseViewOptions(rest, forView, options, files, &why)) return usage(why);
    if (forView) return files.size() == 1 ? mv3d::ViewModel(files[0], options) : usage("view takes MODEL");
    return files.size() == 2 ? mv3d::RenderModel(files[0], files[1], options)
                             : usage("render takes MODEL OUT.bmp");
  }
  return usage("unknown command " + command);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kHelp;
      return 0;
    }
  }
  try {
    return run(args);
  } catch (const std::exception& e) {
    // The component's messages say which component failed and on what file.
    std::cerr << e.what() << "\n";
    return kFailed;
  }
}
