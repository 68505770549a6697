// Fuzzes the detection and decoding of memo files written by other
// programs. Built natively with libFuzzer and the sanitizers: the input is
// copied to a buffer of its exact size, so any read past it is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "memo/textencoding.h"

namespace {
void Require(bool condition)
{
    if (!condition) abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> bytes(new char[size ? size : 1]);
    memcpy(bytes.get(), data, size);
    const MemoEncoding found = DetectEncoding(bytes.get(), size);
    const MemoEncoding all[] = {MemoEncoding::Utf8, MemoEncoding::Utf8Bom, MemoEncoding::Utf16Le,
                                MemoEncoding::Utf16Be};
    for (MemoEncoding encoding : all) {
        std::u16string text;
        const bool decoded = DecodeText(bytes.get(), size, encoding, text);
        if (encoding == found) Require(decoded);
        if (!decoded) continue;
        // A file that decodes whole is written back byte for byte.
        Require(EncodeText(text, encoding) == std::string(bytes.get(), size));
        Require(text.find(u'\0') == std::u16string::npos);
    }
    std::u16string none;
    Require(!DecodeText(bytes.get(), size, MemoEncoding::ShiftJis, none) && none.empty());
    return 0;
}
