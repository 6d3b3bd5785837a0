#pragma once
// What the shell's start-up and shutdown steps need from the main window:
// modal messages, a close request, and where the game's files live.
#include <string>
#include <string_view>

namespace dovrex {

class ShellHost {
 public:
  virtual ~ShellHost() = default;
  // A modal message box; returns when the player has dismissed it.
  virtual void ShowMessage(const std::string& text) = 0;
  // Asks the main window to close; the close runs later through the usual
  // shutdown, once the window processes its messages.
  virtual void RequestClose() = 0;
};

// A path of the game's file tree ("bmp/title.bmp", "M_score.dat") inside its
// working directory; an empty directory means the current one.
inline std::string GamePath(const std::string& directory, std::string_view relative) {
  if (directory.empty()) return std::string(relative);
  std::string path = directory;
  if (path.back() != '/') path += '/';
  path += relative;
  return path;
}

}  // namespace dovrex
