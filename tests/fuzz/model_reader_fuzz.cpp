#include "fuzz_files.h"
#include "project/errors.h"
#include "slopecalc/model_reader.h"

#include <cmath>
#include <string_view>

using namespace slopecalc;

namespace {

void CheckFinite(double value) {
    if (!std::isfinite(value)) {
        fuzz::Fail("an accepted model holds a number that is not finite");
    }
}

void CheckLine(const Polyline& line) {
    const std::vector<Point>& points = line.Points();
    if (points.size() < 2) {
        fuzz::Fail("an accepted line has fewer than two points");
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        CheckFinite(points[i].x);
        CheckFinite(points[i].y);
        if (i > 0 && !(points[i].x > points[i - 1].x)) {
            fuzz::Fail("an accepted line has x that does not increase");
        }
    }
}

void CheckMaterials(const Model& model) {
    for (const auto& [set, material] : model.materials) {
        CheckFinite(material.unitWeight);
        CheckFinite(material.cohesion);
        CheckFinite(material.phiDegrees);
        if (material.unitWeight <= 0 || material.cohesion < 0 || material.phiDegrees < 0 ||
            material.phiDegrees > 89) {
            fuzz::Fail("an accepted material is out of its range");
        }
    }
}

// What the solver relies on from every model the reader accepts.
void CheckModel(const Model& model) {
    if (model.boundaries.empty()) {
        fuzz::Fail("an accepted model has no boundary");
    }
    for (const Boundary& boundary : model.boundaries) {
        if (model.materials.count(boundary.set) == 0) {
            fuzz::Fail("an accepted boundary has no material");
        }
        CheckLine(boundary.line);
    }
    CheckMaterials(model);
    if (model.water) {
        CheckLine(*model.water);
    }
    CheckFinite(model.bedrock);
    CheckFinite(model.waterUnitWeight);
    CheckFinite(model.poreRatio);
    if (model.slices < 2 || model.waterUnitWeight <= 0 || model.poreRatio < 0 ||
        model.poreRatio >= 1) {
        fuzz::Fail("an accepted setting is out of its range");
    }
    if (model.circle) {
        CheckFinite(model.circle->xc);
        CheckFinite(model.circle->yc);
        CheckFinite(model.circle->radius);
        if (model.circle->radius <= 0) {
            fuzz::Fail("an accepted circle has no positive radius");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        CheckModel(ParseModel(text));
    } catch (const zelmora::Error& error) {
        if (std::string_view(error.what()).empty()) {
            fuzz::Fail("an error without a message");
        }
    }
    return 0;
}
