// Fuzz target: arbitrary bytes as a StandAlone scene file. The parse must stay inside the image,
// refuse with a line that exists, and give the same image when it runs again on a used one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "link/StandAloneImage.h"

namespace {

void Fail(const char* fault) {
    std::fprintf(stderr, "%s\n", fault);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto first = std::make_unique<StandAloneImage>();
    static auto again = std::make_unique<StandAloneImage>();
    const StandAloneParse result = ParseStandAloneFile(data, size, *first);
    std::size_t lineEnds = 0;
    for (std::size_t i = 0; i < size; ++i) {
        lineEnds += data[i] == '\n' ? (i == 0 || data[i - 1] != '\r') : data[i] == '\r';
    }
    if (result == StandAloneParse::Ok) {
        if (first->count > STANDALONE_IMAGE_SIZE || first->count > lineEnds) {
            Fail("more values than the image or the lines hold");
        }
    } else if (first->refusedLine == 0 || first->refusedLine > lineEnds) {
        Fail("a refusal names a line the file does not have");
    }
    // The second image still holds the previous input's bytes.
    if (ParseStandAloneFile(data, size, *again) != result || again->count != first->count ||
        again->refusedLine != first->refusedLine || again->bytes != first->bytes) {
        Fail("a used image parsed to something else");
    }
    return 0;
}
