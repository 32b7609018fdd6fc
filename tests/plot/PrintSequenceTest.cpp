// The order a print job's pages go out in for its copies, collation and
// page order.
#include "plot/PlotPrinting.h"

#include <gtest/gtest.h>

#include <vector>

TEST(PrintSequence, CopiesCollationAndReverseOrderGiveThePagesInTheirOrder)
{
    struct Case {
        std::size_t pages;
        int copies;
        bool collate;
        bool reverse;
        std::vector<std::size_t> order;
    };
    const Case cases[] = {
        {2, 1, false, false, {0, 1}},
        {2, 1, true, true, {1, 0}},
        {2, 2, true, false, {0, 1, 0, 1}},
        {2, 2, false, false, {0, 0, 1, 1}},
        {2, 3, true, true, {1, 0, 1, 0, 1, 0}},
        {2, 2, false, true, {1, 1, 0, 0}},
        {1, 3, false, false, {0, 0, 0}},
        // No copies asked is one copy; no plots, no pages.
        {1, 0, true, false, {0}},
        {0, 2, true, false, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintPageSequence(c.pages, c.copies, c.collate, c.reverse), c.order)
            << c.pages << " pages, " << c.copies << " copies, collate " << c.collate << ", reverse " << c.reverse;
}
