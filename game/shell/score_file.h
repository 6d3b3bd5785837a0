#pragma once
// The high-score file "M_score.dat": 13 little-endian signed 32-bit values,
// 52 bytes, no header.
#include <cstdio>
#include <string>

#include "game/record/game_record.h"
#include "game/record/shell_host.h"

namespace dovrex {

inline constexpr const char* kScoreFileName = "M_score.dat";
inline constexpr int kScoreFileBytes = kHighScoreCount * 4;

// Fills highScores with 60000, 55000, ..., 5000, 0.
void SetDefaultScores(GameRecord& rec);

// Reads the file into highScores. A file that cannot be opened for update
// (missing, read-only) gives the creation message and the default table; a
// short file leaves the missing entries 0, bytes past the 52nd are ignored.
void LoadScoreFile(GameRecord& rec, const std::string& path, ShellHost& host);

// Reads the 13 entries from an open file: 4 little-endian bytes each, an
// entry the file holds only partly or not at all reads as 0.
void ReadScores(GameRecord& rec, std::FILE* file);

// Writes highScores to the file. The new contents go to a temporary file
// beside it that then replaces the old one, so a failed write never leaves
// a damaged table behind. On failure shows the access message; returns
// whether the file was written.
bool SaveScoreFile(const GameRecord& rec, const std::string& path, ShellHost& host);

}  // namespace dovrex
