#pragma once

#include "app/ui/TAboutBox.h"
#include "app/ui/TForm4.h"
#include "app/ui/TMenuForm.h"
#include "image/ui/TConvertForm.h"
#include "image/ui/TForm5.h"
#include "run/ui/TForm1.h"

#include <memory>

namespace zuk {

// The program's six windows, one each for the whole run.
struct Windows {
    std::unique_ptr<TMenuForm> menuForm;
    std::unique_ptr<TAboutBox> aboutBox;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TConvertForm> convertForm;
    // Object names of the windows in the order they were created.
    QStringList creationOrder;
};

// Creates the windows in their fixed order. The main window's creation runs the start-up
// sequence; the unfinished-job dialog, on its creation, asks the operator when a job is
// pending and the device answers, before the main window is shown.
template <typename MainWindow = TMenuForm, typename... Args>
std::unique_ptr<Windows> createWindows(Args&&... mainWindowArgs) {
    auto windows = std::make_unique<Windows>();
    auto note = [&](QWidget* w) { windows->creationOrder << w->metaObject()->className(); };

    auto menuForm = std::make_unique<MainWindow>(std::forward<Args>(mainWindowArgs)...);
    menuForm->FormCreate();
    note(menuForm.get());
    const Texts& texts = menuForm->program().texts;

    windows->aboutBox = std::make_unique<TAboutBox>(texts, QStringList{}, menuForm.get());
    note(windows->aboutBox.get());

    windows->form1 = std::make_unique<TForm1>(texts, menuForm.get());
    note(windows->form1.get());
    menuForm->attachForm1(windows->form1.get());
    menuForm->offerUnfinishedJob();

    windows->form5 = std::make_unique<TForm5>(texts, menuForm->program().choices.resolutionIndex,
                                              menuForm.get());
    note(windows->form5.get());
    menuForm->attachForm5(windows->form5.get());

    windows->form4 = std::make_unique<TForm4>(texts, menuForm.get());
    note(windows->form4.get());
    menuForm->attachForm4(windows->form4.get());

    windows->convertForm = std::make_unique<TConvertForm>(texts, menuForm.get());
    note(windows->convertForm.get());
    menuForm->attachConvertForm(windows->convertForm.get());

    windows->menuForm = std::move(menuForm);
    return windows;
}

} // namespace zuk
