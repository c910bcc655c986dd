#pragma once
// The fixture of the tests that drive the whole main window: a fresh program
// folder, and the window over it opened as the program opens it.

#include "app/Main.h"
#include "support/TempFolder.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace vomra::test {

class MainWindowFixture : public ::testing::Test {
protected:
    TempFolder dir; // the program folder
    std::unique_ptr<TfrmMain> frm;

    void openWindow()
    {
        frm = std::make_unique<TfrmMain>(QString::fromStdString(dir.path()));
        frm->showAtStart();
    }
    void TearDown() override
    {
        if (frm)
            frm->close();
    }
};

} // namespace vomra::test
