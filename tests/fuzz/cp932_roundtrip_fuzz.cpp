// libFuzzer entry (asan preset): any bytes read and written back without an
// edit never change the text, and after one save never change the bytes.

#include "text/Cp932.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = morv::DecodeCp932(bytes);
    const QByteArray saved = morv::EncodeCp932(text);
    if (morv::DecodeCp932(saved) != text) std::abort();
    if (morv::EncodeCp932(morv::DecodeCp932(saved)) != saved) std::abort();
    return 0;
}
