#pragma once

#include <QByteArray>
#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the harnesses share: one application object for the whole run (the
// data folder and the text codecs need it), and a way to report a broken
// property so that libFuzzer keeps the input.
namespace FuzzSupport {

inline void startApplication(int *argc, char ***argv)
{
    static QCoreApplication *app = nullptr;
    if (!app)
        app = new QCoreApplication(*argc, *argv);
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

} // namespace FuzzSupport
