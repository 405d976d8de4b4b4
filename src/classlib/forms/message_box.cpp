#include "classlib/forms/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace {
TMessageBoxHook gHook;

// A web address or a file's path in a message is one word: a line may break
// before or after it, never inside it (Qt would break after "https://" or at
// a hyphen of a folder's name). Word joiners, which draw nothing, go wherever
// the address could break.
QString KeepAddressesWhole(const QString& text)
{
    static const QRegularExpression address(
        QStringLiteral(R"((?:https?://|www\.)\S+|(?<![^\s"'(\x{201E}\x{201C}])/[^\s"\x{201C}\x{201D}]+)"));
    QString out;
    qsizetype done = 0;
    auto it = address.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(done, m.capturedStart() - done);
        const QString word = m.captured();
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, word);
        qsizetype from = 0;
        for (qsizetype at = breaks.toNextBoundary(); at > 0 && at < word.size(); at = breaks.toNextBoundary()) {
            out += word.mid(from, at - from);
            out += QChar(0x2060);
            from = at;
        }
        out += word.mid(from);
        done = m.capturedEnd();
    }
    out += text.mid(done);
    return out;
}
} // namespace

void SetMessageBoxHook(TMessageBoxHook hook) { gHook = std::move(hook); }

int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned flags)
{
    if (gHook)
        return gHook(text, caption, flags);
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(KeepAddressesWhole(text));
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    struct Btn {
        const char* Text;
        QMessageBox::ButtonRole Role;
        int Id;
    };
    std::vector<Btn> buttons;
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        buttons = {{"OK", QMessageBox::AcceptRole, IDOK}, {"&Storno", QMessageBox::RejectRole, IDCANCEL}};
        break;
    case MB_ABORTRETRYIGNORE:
        buttons = {{"&Přerušit", QMessageBox::RejectRole, IDABORT},
                   {"&Opakovat", QMessageBox::AcceptRole, IDRETRY},
                   {"&Ignorovat", QMessageBox::AcceptRole, IDIGNORE}};
        break;
    case MB_YESNOCANCEL:
        buttons = {{"&Ano", QMessageBox::YesRole, IDYES}, {"&Ne", QMessageBox::NoRole, IDNO}, {"&Storno", QMessageBox::RejectRole, IDCANCEL}};
        break;
    case MB_YESNO:
        buttons = {{"&Ano", QMessageBox::YesRole, IDYES}, {"&Ne", QMessageBox::NoRole, IDNO}};
        break;
    case MB_RETRYCANCEL:
        buttons = {{"&Opakovat", QMessageBox::AcceptRole, IDRETRY}, {"&Storno", QMessageBox::RejectRole, IDCANCEL}};
        break;
    default:
        buttons = {{"OK", QMessageBox::AcceptRole, IDOK}};
        break;
    }
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (const Btn& b : buttons)
        made.emplace_back(box.addButton(QString::fromUtf8(b.Text), b.Role), b.Id);
    int def = 0;
    if (flags & MB_DEFBUTTON2)
        def = 1;
    if (flags & MB_DEFBUTTON3)
        def = 2;
    if (def < static_cast<int>(made.size()))
        box.setDefaultButton(static_cast<QPushButton*>(made[static_cast<size_t>(def)].first));
    // Escape answers Cancel (or the only button).
    for (auto& [btn, id] : made)
        if (id == IDCANCEL || made.size() == 1)
            box.setEscapeButton(btn);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (auto& [btn, id] : made)
        if (btn == clicked)
            return id;
    return (flags & 0x0F) == MB_OK ? IDOK : IDCANCEL;
}
