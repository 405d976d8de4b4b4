#pragma once
// The template chooser: lists the disc and box templates of the template file
// "defcd.ini" beside the program, previews the chosen one on a small A4 sheet
// and hands its values back in hidden fields.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

#include <vector>

// The template file: "defcd.ini" in the program folder.
QString TemplateFileName();
// A length of a template in millimetres: a number ("," as the decimal
// separator) within a metre either way; false for anything else.
bool TemplateLengthOf(const QString& text, double& mm);
// The smallest size of a label, its hole or its inner rectangle, in
// millimetres. A millimetre is nearly four pixels of the design surface: less
// shows next to nothing to work on, and no label sheet has labels so small.
constexpr double SmallestTemplateSize = 1.0;
// The smallest size as a message says it: "1 mm".
QString SmallestTemplateSizeText();

class TIniFile;

// The templates of the template file that the chooser lists: the names and
// numbers of the disc and box templates whose numbers are lengths, the ones
// left out, and why the file could not be read at all.
struct TTemplateList {
    QStringList DiscNames, BoxNames;
    std::vector<int> DiscNumbers, BoxNumbers;
    QStringList Skipped;
    QString FileError;
};
TTemplateList ReadTemplateList(const TIniFile& ini);

// What the chooser hands back for one template: its number fields as the
// file writes them, the turned flag and the type. A disc template takes the
// box section's fields of template 0 (normally absent).
struct TTemplateFields {
    QString PRT, PRL, PRS, PRV, PRT2, PRL2, PRS2, PRV2;
    bool Sirka = false;
    int Typ = 0;
};
TTemplateFields ReadTemplateFields(const TIniFile& ini, bool box, int number);

class TFrmNew : public TForm {
public:
    TV_CLASS_NAME(TFrmNew)
    explicit TFrmNew(TComponent* owner);
    ~TFrmNew() override;

    // OK (or a double click on a template) closed the window.
    bool IsConfirmed() const { return FConfirmed; }
    // The chosen template comes from the box list (section "KRAB").
    bool IsBoxTemplate() const { return FBoxTemplate; }
    // The template number of a line of the disc or box list; 0 for none.
    // Templates whose numbers cannot be read are not listed, so a line's
    // number may lie beyond its index + 1.
    int TemplateNumberAt(bool box, int index) const;

    TLabel* lbNadpis = nullptr;
    TLabel* lbText = nullptr;
    TLabel* lbNahled = nullptr;
    TLabel* lbDisky = nullptr;
    TLabel* lbObaly = nullptr;
    TListBox* ListBox1 = nullptr; // disc templates
    TListBox* ListBox2 = nullptr; // box templates
    TPanel* Panel1 = nullptr;     // A4 sheet at half a pixel per millimetre
    TShape* Shape1 = nullptr;     // frame of the sheet
    TShape* CV = nullptr;         // the label: disc or rectangle 1
    TShape* CL = nullptr;         // the hole or rectangle 2
    TButton* btnOK = nullptr;
    TButton* btnStorno = nullptr;
    TButton* btnUpravit = nullptr;

    // The result, read by the caller after the window closes. The number
    // fields hold the file's text unconverted.
    TEdit* PRT = nullptr;
    TEdit* PRL = nullptr;
    TEdit* PRS = nullptr;
    TEdit* PRV = nullptr;
    TEdit* PRT2 = nullptr;
    TEdit* PRL2 = nullptr;
    TEdit* PRS2 = nullptr;
    TEdit* PRV2 = nullptr;
    TCheckBox* Sirka = nullptr;
    TEdit* TYP = nullptr;
    TEdit* NazevSablony = nullptr;

    void FormShow(TComponent* sender);
    void ListBox1Click(TComponent* sender);
    void ListBox2Click(TComponent* sender);
    void ListBox1DblClick(TComponent* sender);
    void ListBox2DblClick(TComponent* sender);
    void UpdateDiscPreview();
    void UpdateBoxPreview();
    void btnOKClick(TComponent* sender);
    void btnStornoClick(TComponent* sender);
    void btnUpravitClick(TComponent* sender);

private:
    // Tells about a template file that could not be read, or templates left
    // out of the lists, once for one set of them.
    void ReportSkipped(const QString& fileError, const QStringList& skipped);
    void ShowFields(const TTemplateFields& fields);
    bool FConfirmed = false;
    bool FBoxTemplate = false;
    std::vector<int> FDiscNumbers, FBoxNumbers;
    QString FLastReport;
};

extern TFrmNew* FrmNew;
