#pragma once
// The fixture of the tests that drive the whole main window: a fresh program
// folder, and the window over it opened as the program opens it.

#include "app/Main.h"
#include "pagekit/Dialogs.h"
#include "support/TempFolder.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace vomra::test {

class MainWindowFixture : public ::testing::Test {
protected:
    TempFolder dir; // the program folder
    std::unique_ptr<TfrmMain> frm;

    void openWindow()
    {
        frm = std::make_unique<TfrmMain>(dir.path());
        frm->showAtStart();
    }
    void TearDown() override
    {
        if (!frm)
            return;
        // Edits left in the recipe editor are dropped, not asked about.
        auto kept = std::exchange(dialogs::nextAnswer(), [](const BoxShown &) { return Answer::No; });
        frm->close();
        dialogs::nextAnswer() = std::move(kept);
    }
};

} // namespace vomra::test
