// The floating labels in a trace line: the ones shown, in pool order, before
// the enemy list.
#include "tools/dovrex-sim/trace.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace dovrex::sim {
namespace {

TEST(TraceLine, ListsTheLabelsStillShown) {
  auto rec = std::make_unique<GameRecord>();
  std::string line = TraceLine(7, *rec, {});
  EXPECT_NE(line.find("\"labels\":0,"), std::string::npos) << line;
  EXPECT_NE(line.find(",\"labels\":[],\"enemies\":[]}"), std::string::npos) << line;

  rec->labels[2] = {.x = 0, .y = 0, .timer = 50, .kind = 1, .unused = 0};
  rec->labels[30] = {.x = 100, .y = 200, .timer = 1, .kind = 9, .unused = 0};
  rec->labels[5] = {.x = 0, .y = 0, .timer = 0, .kind = 4, .unused = 0};  // free: not listed
  line = TraceLine(7, *rec, {});
  EXPECT_NE(line.find("\"labels\":2,"), std::string::npos) << line;
  EXPECT_NE(line.find(",\"labels\":[{\"i\":2,\"kind\":1,\"timer\":50},{\"i\":30,\"kind\":9,\"timer\":1}],"
                      "\"enemies\":[]}"),
            std::string::npos)
      << line;
}

}  // namespace
}  // namespace dovrex::sim
