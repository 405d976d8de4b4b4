#include "skin/skin_data.h"

#include "classlib/forms/form.h"
#include "classlib/graphics/canvas.h"
#include "classlib/sysutils.h"
#include "platform/system_metrics.h"
#include "skin/quick_ini.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_message.h"
#include "skin/skin_reader.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QtEndian>

// Resources of a static library are registered by hand.
static void InitSkinResources() { Q_INIT_RESOURCE(skin_resources); }

namespace {
TSkinControlTypes DefaultSkinControls()
{
    TSkinControlTypes all;
    for (int i = xcMainMenu; i <= xcFastReport; ++i)
        all.Include(static_cast<TSkinControlType>(i));
    all.Exclude(xcMenuItem);
    all.Exclude(xcFastReport);
    return all;
}

// Far above any real skin archive (the built-in one packs into 72 KB).
constexpr qint64 kMaxSkinFileSize = qint64(32) << 20;
} // namespace

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      Buttons(std::make_unique<TDataSkinButton>(QStringLiteral("Buttons"))),
      Left(std::make_unique<TDataSkinBorder>(QStringLiteral("Left"))),
      Right(std::make_unique<TDataSkinBorder>(QStringLiteral("Right"))),
      Top(std::make_unique<TDataSkinBorder>(QStringLiteral("Top"))),
      Bottom(std::make_unique<TDataSkinBorder>(QStringLiteral("Bottom"))),
      Title(std::make_unique<TDataSkinTitle>(QStringLiteral("Title"))),
      FSkinControls(DefaultSkinControls()),
      FSkin3rd(DefaultSkin3rd())
{
    CustomColours.fill(clWhite);
    SkinBrush = QBrush(ToQColor(clBtnFace));
    MenuImages = new TImageList(this, 16, 16);
    MenuImages->AddStrip(SkinResourceBitmap(QStringLiteral("PELLIMOMENU")), clWhite);
    MaximizedWidth = GetSystemMetrics(SM_CXMAXIMIZED);
    MaximizedHeight = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinData::~TSkinData()
{
    if (TSkinManage* manager = SkinManager())
        manager->RemoveSkinData(this);
}

void TSkinData::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    if (ComponentState() & (csLoading | csReading))
        return;
    TSkinManage* manager = SkinManager();
    if (!manager)
        return;  // not registered yet: Loaded takes the switch as it finds it
    switch (FSkinFormtype) {
    case sfMainform:
        if (value) {
            if (!SkinRead())
                return;
            manager->SetPendingSkinData(this);
            manager->ScheduleAction(TSkinManage::saSkinAll, 250);
            manager->SetSkinOnState(1);
        } else {
            manager->SetPendingSkinData(this);
            manager->ScheduleAction(TSkinManage::saUnskinAll, 250);
        }
        break;
    case sfOnlyThisForm:
        manager->SetPendingSkinData(this);
        if (!value)
            manager->ScheduleAction(TSkinManage::saUnskinAll, 250);
        else if (SkinRead())
            manager->ScheduleAction(TSkinManage::saSkinAll, 250);
        break;
    case sfDialog:
    case sfDLL:
        break;
    }
}

void TSkinData::HoldSkin(const QString& file)
{
    if (!file.isEmpty())
        FSkinFile = file;
    FHeld = file.isEmpty() ? THeld::BuiltIn : THeld::File;
}

void TSkinData::ReadHeldSkin() const
{
    if (FHeld == THeld::None)
        return;
    // Reading the held skin changes what the component holds, not what it is.
    auto* self = const_cast<TSkinData*>(this);
    if (std::exchange(self->FHeld, THeld::None) == THeld::BuiltIn)
        self->ReadDefaultSkin();
    else
        self->SetSkinFile(FSkinFile);
}

void TSkinData::SetSkinFile(const QString& value)
{
    // A held skin is replaced unread; it is back should the new one fail.
    const THeld held = std::exchange(FHeld, THeld::None);
    const bool hadSkin = held != THeld::None || !FLoading;
    const QString previousFile = FSkinFile;
    FLoading = true;
    FSkinFile = value;
    if (!FileExists(value))
        return;
    QByteArray bytes;
    QString failure;
    try {
        // Devices and pipes are refused before reading: they may never end.
        bytes = ReadWholeFile(value, kMaxSkinFileSize);
    } catch (const EFileError& e) {
        failure = e.Message();
    }
    if (failure.isEmpty()) {
        QByteArray previousStream = std::exchange(FSkinStream, bytes);
        if (!LoadSkinQuietly(failure, true))
            FSkinStream = std::move(previousStream);
    } else {
        failure = SkinRefusedMessage(value, failure);
    }
    if (!failure.isEmpty()) {
        // A skin that cannot be used leaves the one in effect as it was, so no
        // window loses its frame, caption buttons or menu bar over it, also
        // while the message is open.
        FSkinFile = previousFile;
        FLoading = held != THeld::None || !hadSkin;
        FHeld = held;
        SkinShowMessage(failure);
    }
    SkinChanged();
}

void TSkinData::Loaded()
{
    // The platform always offers scroll-bar information, so xcScrollbar stays.
    TSkinManage* manager = CreateSkinManager();
    manager->AddSkinData(this);
    LoadCaptionFont();
    if (FSkinFormtype == sfMainform) {
        manager->InstallHook();
        if (FActive) {
            // A held skin is read when the first window is skinned.
            if (FHeld != THeld::None || SkinRead())
                manager->ScheduleAction(TSkinManage::saSkinAll, 250);
            else
                FActive = false;
        }
        if (FSkinControls.Contains(xcMainMenu))
            FSkinControls.Exclude(xcMenuItem);
        else
            FSkinControls.Exclude(xcSystemMenu);
        LoadAppIcon();
    } else {
        manager->SetRunning(true);
        manager->SetSkinOnState(manager->SkinOnState() + 1);
        if (auto* form = dynamic_cast<TCustomForm*>(Owner()); form && FActive)
            manager->SkinForm(form->Window());
    }
}

void TSkinData::ReadDefaultSkin()
{
    QByteArray framed = DefaultSkinStreamProperty();
    QDataStream in(&framed, QIODevice::ReadOnly);
    ReadSkinStream(in);
}

void TSkinData::ReadSkinStream(QDataStream& stream)
{
    char header[4];
    if (stream.readRawData(header, 4) != 4)
        throw EReadError(QStringLiteral("Stream read error"));
    const auto n = qFromLittleEndian<qint32>(header);
    if (n < 1)
        return;
    QByteArray bytes(n, Qt::Uninitialized);
    if (stream.readRawData(bytes.data(), n) != n)
        throw EReadError(QStringLiteral("Stream read error"));
    FSkinStream = bytes;
    LoadSkin();
}

void TSkinData::WriteSkinStream(QDataStream& stream) const
{
    const auto n = static_cast<quint32>(FSkinStream.size());
    char header[4];
    qToLittleEndian(n, header);
    stream.writeRawData(header, 4);
    if (n >= 1)
        stream.writeRawData(FSkinStream.constData(), static_cast<int>(n));
}

bool TSkinData::LoadSkin()
{
    QString failure;
    if (LoadSkinQuietly(failure, false))
        return true;
    SkinShowMessage(failure);
    return false;
}

bool TSkinData::LoadSkinQuietly(QString& failure, bool checkUsable)
{
    FLoading = true;
    TSkinReader reader;
    reader.SetSourceName(FSkinFile);
    reader.SetReportFailures(false);
    if (!reader.LoadFromStream(FSkinStream)) {
        failure = reader.FailureMessage();
        return false;
    }
    if (checkUsable && reader.Truncated()) {
        failure = SkinRefusedMessage(
            FSkinFile, QStringLiteral("Archiv skinu je useknutý: data končí dřív, než udává jeho hlavička."));
        return false;
    }
    QByteArray scratch;
    QString iniName;
    reader.ExtractByPart(QStringLiteral(".ini"), scratch, iniName);
    TQuickIni ini;
    ini.LoadFromStream(scratch);
    // Checked before anything is read into the skin held, so that a skin whose
    // frame, caption buttons or menu bar would be blank never replaces it.
    if (checkUsable) {
        const QString reason = SkinUnusableReason(ini, reader, iniName);
        if (!reason.isEmpty()) {
            failure = SkinRefusedMessage(FSkinFile, reason);
            return false;
        }
    }
    ReadSkin(ini, reader);
    return true;
}

void TSkinData::SkinChanged()
{
    if (ComponentState() & (csLoading | csReading))
        return;
    if (!SkinManager())
        Loaded();
    TSkinManage* manager = SkinManager();
    manager->SetPendingSkinData(this);
    manager->RefreshSkinForms();
    if (manager->SkinOnState() == 1)
        manager->ScheduleAction(TSkinManage::saReskin, 250);
}

void TSkinData::DoSkinChanged()
{
    if (OnSkinChanged)
        OnSkinChanged(this);
}

void TSkinData::DoFormSkin(QWidget* window, const QString& className, bool& DoSkin)
{
    FLastFormSkinWindow = window;
    if (OnFormSkin) {
        OnFormSkin(this, className, DoSkin);
        return;
    }
    if (className == QLatin1String("SysMonthCal32"))
        DoSkin = false;
    else if (FSkinControls.Contains(xcFastReport) && className.startsWith(QLatin1String("Tfr")))
        DoSkin = false;
}

void TSkinData::LoadAppIcon()
{
    const int w = GetSystemMetrics(SM_CXSMICON);
    const int h = GetSystemMetrics(SM_CYSMICON);
    AppIcon = QImage(w, h, QImage::Format_RGB32);
    AppIcon.fill(qRgb(255, 0, 255));
    const QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull())
        return;
    QPainter p(&AppIcon);
    icon.paint(&p, QRect(0, 0, w, h));
}

void TSkinData::LoadCaptionFont()
{
    // The classic scheme's caption font.
    CaptionFont.SetName(QStringLiteral("Tahoma"));
    CaptionFont.SetHeight(-11);
    CaptionFont.SetStyle(FontStyleBit(fsBold));
    CaptionFont.SetCharset(DEFAULT_CHARSET);
    CaptionFont.SetColor(clCaptionText);
}

QImage SkinResourceBitmap(const QString& name)
{
    InitSkinResources();
    QImage image(QStringLiteral(":/skin/") + name.toLower() + QStringLiteral(".bmp"), "BMP");
    return image.convertToFormat(QImage::Format_RGB32);
}

QByteArray DefaultSkinArchive()
{
    InitSkinResources();
    QFile f(QStringLiteral(":/skin/default.skn"));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QByteArray DefaultSkinStreamProperty()
{
    const QByteArray archive = DefaultSkinArchive();
    QByteArray out(4, Qt::Uninitialized);
    qToLittleEndian(static_cast<quint32>(archive.size()), out.data());
    return out + archive;
}

QString AnsiToWide(const QByteArray& text) { return AnsiToUnicode(text); }

QString WideCopy(const char16_t* buffer, int length)
{
    if (!buffer)
        return QString();
    if (length < 0) {
        length = 0;
        while (buffer[length] != 0)
            ++length;
    }
    return QString(reinterpret_cast<const QChar*>(buffer), length);
}

int SkinDrawText(TCanvas* canvas, const QString& text, TRect& r, unsigned format)
{
    // Our canvas draws Unicode text itself: no detour through the ANSI code page.
    return canvas ? canvas->DrawText(text, r, format) : 0;
}
