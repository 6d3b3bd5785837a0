#pragma once
// Showing a model through the 3D component: one frame rendered headless into
// a BMP, or a window to orbit it in.
#include <optional>
#include <string>
#include <vector>

namespace mv3d {

struct ViewOptions {
  int width = 640;
  int height = 480;
  float yawDegrees = 30;
  float pitchDegrees = 20;
  std::optional<float> distance;  // default: the whole model in view
  bool emulated = false;          // Mesa's software device instead of the GL driver
  bool stats = false;             // print draw calls, triangles and state changes
  int frames = 0;                 // view: stop after this many frames (0: at Esc)
  std::string save;               // view: the last frame to this BMP
};

// Reads the options after the file names; false with the reason in *error.
bool ParseViewOptions(const std::vector<std::string>& args, bool forView, ViewOptions& options,
                      std::vector<std::string>& files, std::string* error);

// Throws the component's exceptions; returns the exit status.
int RenderModel(const std::string& model, const std::string& out, const ViewOptions& options);
int ViewModel(const std::string& model, const ViewOptions& options);

}  // namespace mv3d
