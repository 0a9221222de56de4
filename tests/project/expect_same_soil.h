#pragma once

#include "project/project_state.h"

#include <gtest/gtest.h>

// Every soil row of the two states equal, field by field.
inline void ExpectSameSoil(const zelmora::ProjectState& a, const zelmora::ProjectState& b) {
    using zelmora::Row;
    for (int r = 1; r <= zelmora::SoilRowCount; ++r) {
        EXPECT_EQ(Row(a, r).SetNumber, Row(b, r).SetNumber) << "row " << r;
        EXPECT_EQ(Row(a, r).PhiMean, Row(b, r).PhiMean) << "row " << r;
        EXPECT_EQ(Row(a, r).PhiStdDev, Row(b, r).PhiStdDev) << "row " << r;
        EXPECT_EQ(Row(a, r).CohesionMean, Row(b, r).CohesionMean) << "row " << r;
        EXPECT_EQ(Row(a, r).CohesionStdDev, Row(b, r).CohesionStdDev) << "row " << r;
    }
}
