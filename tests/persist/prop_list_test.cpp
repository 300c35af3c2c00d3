#include "persist/prop_list.h"

#include <gtest/gtest.h>

TEST(PropList, Placeholder) { SUCCEED(); }
