// Feeds arbitrary codeplug images to the image-to-profile conversion (see image_checks.h for what
// the outcome must be). Inputs are made exactly one image long: shorter ones are padded with zero
// bytes, longer ones cut.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "image_checks.h"
#include "radio/virtual_cp.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Schema();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data),
                     static_cast<qsizetype>(std::min<std::size_t>(size, vcp::kImageSize)));
    bytes.append(QByteArray(vcp::kImageSize - bytes.size(), '\0'));
    CVirtualCP image;
    if (!image.Assign(bytes)) {
        fuzz::Fail("an image-sized input was not taken");
    }
    fuzz::CheckConversion(image);
    return 0;
}
