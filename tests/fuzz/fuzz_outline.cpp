// Any bytes as a stored window outline: reading never fails badly, and what it
// reads is stored again in a form that reads back to the same pixels.
#include "TShapedForm.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TShapedRegion mask;
    mask.readData(bytes);
    const QByteArray stored = mask.writeData();
    const auto region = TShapedRegion::parse(bytes);
    if (region.has_value() != mask.hasRegion())
        Fail("reading Data and parsing disagree");
    if (!region) {
        if (stored != QByteArray(4, '\0'))
            Fail("no outline is not stored as a 4-byte zero");
        return 0;
    }
    if (region->isEmpty())
        Fail("an empty outline was accepted");
    if (stored.size() != 36 + 16 * qsizetype(region->rectCount()))
        Fail("the stored size is not 36 + 16 n");
    // Rectangles handed in out of the canonical order may come back split into
    // other bands; what matters is that every pixel is the same.
    const auto again = TShapedRegion::parse(QByteArrayView(stored));
    if (!again || !again->xored(*region).isEmpty())
        Fail("the stored outline reads back differently");
    const auto third = TShapedRegion::parse(QByteArrayView(TShapedRegion::serialize(*again)));
    if (!third || !third->xored(*region).isEmpty())
        Fail("storing the outline again changes it");
    return 0;
}
