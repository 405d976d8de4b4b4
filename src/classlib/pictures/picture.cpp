#include "classlib/pictures/picture.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/pictures/icon.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/pictures/metafile.h"
#include "classlib/pictures/stream_io.h"
#include "classlib/sysutils.h"

#include <QBuffer>

using namespace PictureIO;

std::unique_ptr<TGraphic> CreateGraphic(const QString& className)
{
    if (className == QLatin1String("TBitmap"))
        return std::make_unique<TBitmap>();
    if (className == QLatin1String("TJPEGImage"))
        return std::make_unique<TJPEGImage>();
    if (className == QLatin1String("TGIFImage"))
        return std::make_unique<TGIFImage>();
    if (className == QLatin1String("TIcon"))
        return std::make_unique<TIcon>();
    if (className == QLatin1String("TMetafile"))
        return std::make_unique<TMetafile>();
    return nullptr;
}

std::unique_ptr<TGraphic> CreateGraphicForExtension(const QString& extension)
{
    QString ext = extension.toLower();
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (ext == QLatin1String("bmp"))
        return std::make_unique<TBitmap>();
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return std::make_unique<TJPEGImage>();
    if (ext == QLatin1String("gif"))
        return std::make_unique<TGIFImage>();
    if (ext == QLatin1String("ico"))
        return std::make_unique<TIcon>();
    if (ext == QLatin1String("emf") || ext == QLatin1String("wmf"))
        return std::make_unique<TMetafile>();
    return nullptr;
}

std::unique_ptr<TGraphic> CloneGraphic(const TGraphic& graphic)
{
    std::unique_ptr<TGraphic> copy = CreateGraphic(graphic.ClassName());
    if (!copy)
        throw EInvalidGraphic(QStringLiteral("Neznámý druh obrázku %1").arg(graphic.ClassName()));
    copy->Assign(&graphic);
    copy->SetTransparent(graphic.Transparent());
    copy->SetModified(false);
    return copy;
}

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic)
{
    FGraphic = std::move(graphic);
    if (FGraphic)
        FGraphic->OnChange = [this](TGraphic*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    if (graphic == FGraphic.get() && graphic)
        return;
    Take(graphic ? CloneGraphic(*graphic) : nullptr);
}

TBitmap* TPicture::Bitmap()
{
    if (auto* b = dynamic_cast<TBitmap*>(FGraphic.get()))
        return b;
    Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::Assign(const TPersistent* source)
{
    if (!source) {
        Take(nullptr);
        return;
    }
    if (const auto* p = dynamic_cast<const TPicture*>(source)) {
        if (p != this)
            SetGraphic(p->Graphic());
        return;
    }
    if (const auto* g = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(source);
}

void TPicture::LoadFromFile(const QString& fileName)
{
    const QString ext = ExtractFileExt(fileName);
    std::unique_ptr<TGraphic> graphic = CreateGraphicForExtension(ext);
    if (!graphic)
        throw EInvalidGraphic(QStringLiteral("Soubor \"%1\" nelze otevřít jako obrázek: %2 program nezná. "
                                             "Podporované typy obrázků: BMP, JPEG, GIF, ICO, EMF, WMF.")
                                  .arg(fileName, ext.size() > 1 ? QStringLiteral("typ %1").arg(ext)
                                                                : QStringLiteral("soubor bez přípony")));
    // A damaged picture is named, as a file of a kind the program does not
    // know is: the user may have chosen it among many.
    auto named = [&fileName](const Exception& e) {
        return QStringLiteral("Soubor \"%1\" nelze otevřít jako obrázek. %2").arg(fileName, e.Message());
    };
    try {
        graphic->LoadFromFile(fileName);
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(named(e));
    } catch (const EReadError& e) {
        throw EReadError(named(e));
    }
    graphic->SetModified(false);
    Take(std::move(graphic));
}

void TPicture::SaveToFile(const QString& fileName)
{
    if (FGraphic)
        FGraphic->SaveToFile(fileName);
}

void TPicture::WriteData(QIODevice& stream)
{
    QByteArray name;
    // An empty GIF has no file to write: it is framed as no picture at all.
    const bool emptyGif = FGraphic && FGraphic->Empty() && dynamic_cast<TGIFImage*>(FGraphic.get());
    if (FGraphic && !emptyGif)
        name = FGraphic->ClassName().toLatin1().left(255);
    QByteArray head;
    head.append(char(name.size()));
    head.append(name);
    WriteBytes(stream, head);
    if (FGraphic && !emptyGif)
        FGraphic->WriteData(stream);
}

void TPicture::ReadData(QIODevice& stream)
{
    const int length = ReadU8(stream);
    const QString name = QString::fromLatin1(ReadExact(stream, length));
    std::unique_ptr<TGraphic> graphic = CreateGraphic(name);
    if (!graphic) {
        Take(nullptr);
        return;
    }
    graphic->ReadData(stream);
    graphic->SetModified(false);
    Take(std::move(graphic));
}

QByteArray TPicture::DataBytes()
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    WriteData(buf);
    return out;
}

void TPicture::ReadDataFromBytes(const QByteArray& value)
{
    QBuffer buf;
    buf.setData(value);
    buf.open(QIODevice::ReadOnly);
    ReadData(buf);
}
