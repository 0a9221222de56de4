#include "fuzz_files.h"
#include "project/errors.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/search.h"

#include <cmath>
#include <string_view>

using namespace slopecalc;

// A model the reader accepts with a circle of its own is evaluated on that circle: the
// result is a finite, positive safety factor or a clear error, never a crash or a hang.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const Model model = ParseModel(text);
        if (!model.circle) {
            return 0;
        }
        for (const StageResult& stage : EvaluateGivenCircle(model)) {
            if (!std::isfinite(stage.best.factor) || !(stage.best.factor > 0)) {
                fuzz::Fail("a given circle gave a factor that is not finite and positive");
            }
        }
    } catch (const zelmora::Error& error) {
        if (std::string_view(error.what()).empty()) {
            fuzz::Fail("an error without a message");
        }
    }
    return 0;
}
