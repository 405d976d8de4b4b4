#pragma once
// A main window for designer tests: created and shown like the program does,
// with its settings folder in a fresh temporary place.

#include "designer/main/frm_main.h"

#include <memory>

class TMainWindowFixture {
public:
    TMainWindowFixture();
    ~TMainWindowFixture();
    TFrmMain* Main() const { return FMain.get(); }
    // Runs the first show; "-" shows neither the start window nor a file.
    void ShowWindow(const QString& startFile = QStringLiteral("-"));

private:
    std::unique_ptr<TFrmMain> FMain;
    QByteArray FOldConfig;
};
