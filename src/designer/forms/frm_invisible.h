#pragma once
// The version check: a page on the maker's web host holds the number of the
// newest release; the window loads it out of sight and says whether a newer
// release than ours exists. Its texts are fixed.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TWebDownload;

class TFrmInvisible : public TForm {
public:
    TV_CLASS_NAME(TFrmInvisible)
    explicit TFrmInvisible(TComponent* owner);
    ~TFrmInvisible() override;

    // The release this program is.
    static constexpr int ProgramRelease = 320;
    static const QString VersionPagePath;   // "/download_file/verze.txt"
    static const QString DefaultVersionHost; // the maker's web host
    // The status when the page could not be read.
    static const QString CheckFailedText;
    // The host of the version page: the settings key VersionServer, else the maker's.
    static QString VersionHost();

    TWebDownload* WebDownload = nullptr; // loads the page; never seen
    TMemo* Memo = nullptr;               // holds the page text; covered by Panel1
    TPanel* Panel1 = nullptr;
    TLabel* stav = nullptr;              // the status line
    TButton* TestVerze = nullptr;        // "Zjistit"
    TButton* Button1 = nullptr;          // "Zavřít"

    void TestVerzeClick(TComponent* sender);
    void WebDownloadDocumentComplete(TComponent* sender);
    void Button1Click(TComponent* sender);
};

extern TFrmInvisible* FrmInvisible;
