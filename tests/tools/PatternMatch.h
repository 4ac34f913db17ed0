// Checks a picture the tools wrote against the CPU reference of the pattern.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "PatternReference.h"
#include "Pictures.h"

// Fails the test when more than 1% of the pixels are more than 3 levels off the reference
// (hard edges may fall either side of a pixel centre).
::testing::AssertionResult MatchesPattern(const PatternParams& params, const Picture& picture);
