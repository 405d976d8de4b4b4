// fuzz-layer: tv_designer
// The version page from arbitrary bytes: the first byte picks the content
// type the server claims, the rest is the page. Taking the body may fail only
// with the loader's own error.
#include "designer/main/web_download.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const QByteArray types[] = {"text/plain", "text/html; charset=utf-8", "TEXT/HTML", ""};
    const QByteArray& type = types[data[0] % 4];
    const QByteArray page(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    try {
        const QString body = TWebDownload::BodyMarkup(type, page);
        if (body.isEmpty())
            __builtin_trap(); // a body, when there is one, is never empty markup
    } catch (const EWebDocument&) {
    }
    return 0;
}
