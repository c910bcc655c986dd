#pragma once
// The one QApplication of the benchmark program, made on first use (offscreen
// unless the caller chose a platform), with the Song face set up.

#include "platform/FontSetup.h"

#include <QApplication>

#include <memory>

namespace vomra::bench {

inline QApplication &app()
{
    static int argc = 1;
    static char name[] = "vomra_bench";
    static char *argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> instance = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        auto a = std::make_unique<QApplication>(argc, argv);
        vomra::installFontSubstitutes();
        return a;
    }();
    return *instance;
}

} // namespace vomra::bench
