#include "fuzz_files.h"
#include "project/errors.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/modification.h"

#include <cmath>
#include <string_view>

using namespace slopecalc;

namespace {

const Model& TwoSoils() {
    static const Model model = ParseModel("material 1 unit_weight 20 cohesion 3 phi 19.6\n"
                                          "material -4 unit_weight 18 cohesion 0 phi 30\n"
                                          "boundary 1 0 25 30 25 50 35 90 35\n"
                                          "boundary -4 0 22 90 22\n"
                                          "bedrock 20\n");
    return model;
}

void CheckModification(const Modification& m) {
    if (TwoSoils().materials.count(m.set) == 0) {
        fuzz::Fail("an accepted modification names an unknown set");
    }
    if (!std::isfinite(m.value)) {
        fuzz::Fail("an accepted modification value is not finite");
    }
    const bool inRange = m.parameter == SinePhiParameter    ? m.value >= 0 && m.value < 1
                         : m.parameter == CohesionParameter ? m.value >= 0
                                                            : false;
    if (!inRange) {
        fuzz::Fail("an accepted modification is out of its range");
    }
}

void CheckApplied(const Model& model) {
    for (const auto& [set, material] : model.materials) {
        if (!(material.phiDegrees >= 0 && material.phiDegrees < 90) || !(material.cohesion >= 0) ||
            !std::isfinite(material.cohesion)) {
            fuzz::Fail("applied modifications leave a material out of its range");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<Modification> modifications = ParseModifications(text, TwoSoils());
        for (const Modification& m : modifications) {
            CheckModification(m);
        }
        Model modified = TwoSoils();
        ApplyModifications(modified, modifications);
        CheckApplied(modified);
    } catch (const zelmora::Error& error) {
        if (std::string_view(error.what()).empty()) {
            fuzz::Fail("an error without a message");
        }
    }
    return 0;
}
