#include <gtest/gtest.h>
#include "engine/system.h"
TEST(Smoke, Builds) { zor2::CSystem s; EXPECT_EQ(s.m_catalogue.Size(), 89u); }
