#pragma once
// Common dialogs: open and save file, colour, font and folder browser. Each
// runs modally in Execute() and reports whether the user confirmed. Tests
// answer dialogs through the execute hook instead of the screen.

#include "classlib/component.h"
#include "classlib/graphics/font.h"
#include "classlib/strings.h"

#include <functional>

class TCommonDialog : public TComponent {
public:
    TV_CLASS_NAME(TCommonDialog)
    using TComponent::TComponent;
    virtual bool Execute() = 0;
    QString Title;
    // When set, Execute() asks the hook instead of showing the dialog; the hook
    // may fill the dialog's result fields and returns the confirmation.
    static std::function<bool(TCommonDialog*)> ExecuteHook;
};

enum TOpenOption : unsigned {
    ofReadOnly = 1,
    ofOverwritePrompt = 2,
    ofHideReadOnly = 4,
    ofNoChangeDir = 8,
    ofAllowMultiSelect = 0x200,
    ofPathMustExist = 0x800,
    ofFileMustExist = 0x1000,
    ofEnableSizing = 0x800000,
};
using TOpenOptions = unsigned;

class TOpenDialog : public TCommonDialog {
public:
    TV_CLASS_NAME(TOpenDialog)
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    // "Description|mask;mask|Description|mask", as the class library writes filters.
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    QString FileName;
    TStringList Files;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    // The Qt name filters of Filter.
    QStringList NameFilters() const;

protected:
    virtual bool IsSave() const { return false; }
    // A preview beside the file list (picture dialogs).
    virtual bool HasPreview() const { return false; }
};

class TSaveDialog : public TOpenDialog {
public:
    TV_CLASS_NAME(TSaveDialog)
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

// Open dialog for pictures with a preview of the chosen file.
class TOpenPictureDialog : public TOpenDialog {
public:
    TV_CLASS_NAME(TOpenPictureDialog)
    using TOpenDialog::TOpenDialog;

protected:
    bool HasPreview() const override { return true; }
};

class TSavePictureDialog : public TSaveDialog {
public:
    TV_CLASS_NAME(TSavePictureDialog)
    using TSaveDialog::TSaveDialog;
};

class TColorDialog : public TCommonDialog {
public:
    TV_CLASS_NAME(TColorDialog)
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    TColor Color = clBlack;
    bool FullOpen = false;
};

class TFontDialog : public TCommonDialog {
public:
    TV_CLASS_NAME(TFontDialog)
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    TFont* Font() { return &FFont; }

private:
    TFont FFont;
};

// The print dialog over the program's printer (Printer()): the user picks the
// printer or an output file and the number of copies. Copies holds the count
// after Execute(); the caller gives it to the printer.
class TPrintDialog : public TCommonDialog {
public:
    TV_CLASS_NAME(TPrintDialog)
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    int Copies = 1;
};

// The folder browser; returns the chosen folder or empty when cancelled.
QString SelectDirectory(const QString& caption, const QString& start);
extern std::function<QString(const QString& caption, const QString& start)> SelectDirectoryHook;
