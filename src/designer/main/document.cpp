// The label document: objects are the window's components with Tag 1 or 2,
// kept at the front of its component list in stacking order.

#include "designer/main/frm_main.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"

void TFrmMain::SetModified() { Modified = true; }

void TFrmMain::SetDocumentFileName(const QString& fileName)
{
    DocumentFileName = fileName;
    SetCaption(QStringLiteral("%1 - %2").arg(ExtractFileName(fileName), Application ? Application->Title() : QString()));
}

void TFrmMain::AskSaveChanges()
{
    if (!Modified)
        return;
    switch (Application->MessageBox(sSouborNeniUlozen, sDotaz, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        Modified = false;
        try {
            btnSaveClick(this);
        } catch (...) {
            Modified = true; // nothing was saved: the design is still unsaved
            throw;
        }
        // The user cancelled the Save As: the command stops rather than drop the design.
        if (DocumentFileName == sUntitled) {
            Modified = true;
            Abort();
        }
        break;
    case IDNO:
        break;
    default:
        Abort();
    }
}

int TFrmMain::ObjectCount() const
{
    int n = 0;
    for (int i = 0; i < ComponentCount(); ++i)
        if (IsObject(Components(i)))
            ++n;
    return n;
}

void TFrmMain::RenumberObjects()
{
    for (int i = 0; i < ComponentCount(); ++i)
        if (IsObject(Components(i)))
            Components(i)->SetName(QString());
    int k = 0;
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (!IsObject(c))
            continue;
        if (c->Name().isEmpty())
            c->SetName(QStringLiteral("C%1").arg(k));
        c->SetComponentIndex(k);
        ++k;
    }
}

void TFrmMain::DeleteObjects(bool all)
{
    if (all)
        IMGBck->Picture()->Assign(BilyImg->Picture());
    const int n = ObjectCount();
    bool freed = false;
    for (int i = n - 1; i >= 0; --i) {
        TComponent* c = Components(i);
        bool free = all;
        if (!all) {
            const QString cls = c->ClassName();
            auto* ctl = dynamic_cast<TControl*>(c);
            free = ctl && ctl->DragCursor() == crHandPoint &&
                   (cls == QLatin1String("TLabel") || cls == QLatin1String("TImage") || cls == QLatin1String("TFImage") ||
                    cls == QLatin1String("TCFImage") || cls == QLatin1String("TShape"));
        }
        if (free) {
            if (SelectedObject == c)
                SelectedObject = SizeLabel;
            delete c;
            freed = true;
        }
    }
    RenumberObjects();
    RebuildLayerList();
    if (freed)
        SelectedObject = SizeLabel;
}

void TFrmMain::FitProportional(int imageWidth, int imageHeight, int boxWidth, int boxHeight, int& width, int& height)
{
    const double boxRatio = boxHeight != 0 ? double(boxWidth) / boxHeight : 0.0;
    const double imageRatio = imageHeight != 0 ? double(imageWidth) / imageHeight : 0.0;
    if (boxRatio > imageRatio) {
        width = MulDiv(boxHeight, imageWidth, imageHeight);
        height = boxHeight;
    } else {
        width = boxWidth;
        height = MulDiv(boxWidth, imageHeight, imageWidth);
    }
}
