#pragma once
// The texts of the windows from the language file beside the program
// ("language.ini", section "Czech"). Each window has a loader that walks its
// table of entries (key, default, target) in order, reads each key once per
// entry and hands the text to the target at once. A missing file or key gives
// the entry's default; a key present with an empty value gives empty text.

#include <QHash>
#include <QString>
#include <QStringList>
#include <span>

class TCustomForm;
class TFrmMain;

// What a text is given to.
enum class TTextTarget {
    AppTitle,      // the application's title
    MainField,     // a message-text field of the main window
    WindowCaption, // the window's own title bar
    Caption,       // the Caption of a control or menu item of the window
    Hint,          // the Hint of a control or menu item of the window
};

using TMainFormText = QString TFrmMain::*;

struct TLanguageEntry {
    const char* Key;
    TTextTarget Target;
    const char* Control;   // Caption, Hint: the component's name
    TMainFormText Field;   // MainField: the main window's string
    const char* Default;   // UTF-8
};

struct TLanguageLoader {
    const char* Name;                 // the loader procedure's name
    const char* WindowClass;          // the class of its window
    TCustomForm* (*Window)();         // the window's form variable
    std::span<const TLanguageEntry> Entries;
};

// The section every loader reads; other sections of the file are ignored.
inline constexpr const char* LanguageSection = "Czech";

// The twelve loaders in the order the program entry calls them.
std::span<const TLanguageLoader> LanguageLoaders();

// AppDir of the main window + "/language.ini".
QString LanguageFileName();

// The section "Czech" of a language file, read once. Keys are found as the
// profile service finds them: letter case ignored, the first of a repeated
// key; a key present with an empty value gives empty text.
class TLanguageFile {
public:
    explicit TLanguageFile(const QString& fileName);
    QString ReadString(const QString& key, const QString& def) const;
    // Why the file was refused (too large, no plain file); empty otherwise.
    const QString& ReadError() const { return FError; }

private:
    QHash<QString, QString> FTexts; // by case-folded key
    QString FError;
};

// Gives every text of the loader's table to its target, one lookup per
// entry. A target that does not exist (yet) is passed over quietly. Without
// a file the loader reads the language file itself.
void ApplyLanguageTexts(const TLanguageLoader& loader);
void ApplyLanguageTexts(const TLanguageLoader& loader, const TLanguageFile& file);

// The targets of a loader that the running program does not have, as
// "TFrmMain.btnNew.Hint"; a missing window makes every entry of it missing.
QStringList MissingLanguageTargets(const TLanguageLoader& loader);

void LoadMainFormStrings();
void LoadFrmInsTextStrings();
void LoadFrmNewStrings();
void LoadFrmNastavObjektStrings();
void LoadFrmSrafovaniStrings();
void LoadFrmVlastnostiIMGStrings();
void LoadFrmProgressStrings();
void LoadFrmInsDirStrings();
void LoadFrmKorekceStrings();
void LoadFrmRozObrStrings();
void LoadFrmStartStrings();
void LoadFrmOProgramuStrings();
// The twelve loaders in the order the program entry runs them, all from one
// reading of the file.
void LoadLanguageTexts();
