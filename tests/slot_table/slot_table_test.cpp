#include "slot_table/slot_table.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

TEST(PageFromTag, MapsEveryButtonGroup) {
  const std::pair<PageTag, PageIndex> cases[] = {{0, 0}, {3, 3}, {100, 12}, {107, 12}, {200, 8}, {203, 11}};
  for (auto [tag, page] : cases) EXPECT_EQ(PageFromTag(tag), page) << tag;
}

}  // namespace
}  // namespace quenda
