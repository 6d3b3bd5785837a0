// Runs the debug-log example and reads the log it writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "log_blocks.h"
#include "test_files.h"

namespace {

using namespace debug_test;

int run(const std::string& arguments) {
  const std::string command = std::string(DEBUG_LOG_PROGRAM) + " " + arguments + " > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Row {
  std::uint64_t count = 0, total = 0, average = 0;
};

// Rows of the results block: count, total, average, name.
std::map<std::string, Row> parseRows(const std::string& rows) {
  std::map<std::string, Row> parsed;
  std::istringstream in(rows);
  std::string line;
  while (std::getline(in, line)) {
    EXPECT_GE(line.size(), 47u) << line;
    if (line.size() < 47) continue;
    EXPECT_EQ(line[45], ' ') << line;
    Row row;
    row.count = std::stoull(line.substr(0, 10));
    row.total = std::stoull(line.substr(10, 20));
    row.average = std::stoull(line.substr(30, 15));
    parsed[line.substr(46)] = row;
  }
  return parsed;
}

TEST(DebugLogExample, WritesTheWholeLog) {
  TempFile log("example.log");
  ASSERT_EQ(run(log.Path()), 0);
  const auto text = log.Read();

  EXPECT_EQ(text.rfind(HeaderBlock() + Rule() + "// ＣＰＵ情報出力", 0), 0u) << text;
  const auto traceStart = text.find("\n\n\n" + TraceBlock());
  ASSERT_NE(traceStart, std::string::npos);
  const auto linesStart = traceStart + 3 + TraceBlock().size();
  const auto resultsStart = text.find("\n\n\n" + ResultsHeading(), linesStart);
  ASSERT_NE(resultsStart, std::string::npos);

  const std::string error = "TMorvaneMidi エラー\n\nデータ「stage3」は存在しません。\n";
  EXPECT_EQ(text.substr(linesStart, resultsStart - linesStart),
            "Playlist::初期化開始\n"
            "Playlist::Add title\n"
            "Playlist::Add stage1\n" +
                error + error + "Playlist::全データの削除\n")
      << "the failed lookup is traced by Find and again by Play";

  const auto rows = parseRows(text.substr(resultsStart + 3 + ResultsHeading().size()));
  const std::map<std::string, std::uint64_t> counts = {
      {"Playlist::Playlist", 1}, {"Playlist::Add", 3},       {"Playlist::Find", 2},
      {"Playlist::Play", 2},     {"Playlist::DeleteAll", 1}, {"Playlist::~Playlist", 1}};
  ASSERT_EQ(rows.size(), counts.size());
  for (const auto& [name, count] : counts) {
    ASSERT_TRUE(rows.count(name)) << name;
    const auto& row = rows.at(name);
    EXPECT_EQ(row.count, count) << name;
    EXPECT_EQ(row.average, row.total / row.count) << name;
  }
  EXPECT_GE(rows.at("Playlist::Play").total, rows.at("Playlist::Find").total)
      << "Play's scopes contain Find's";
  EXPECT_GE(rows.at("Playlist::~Playlist").total, rows.at("Playlist::DeleteAll").total);
}

TEST(DebugLogExample, WithoutALogFileNameItShowsUsage) {
  EXPECT_EQ(run(""), 2);
  EXPECT_EQ(run("a b"), 2);
}

}  // namespace
