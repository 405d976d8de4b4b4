#include "platform/cd_audio_device.h"

#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <map>
#include <mutex>

namespace {

// Recursive: a device that fails to open is freed while Open still holds the lock.
std::recursive_mutex gRegistryMutex;
std::map<QString, std::weak_ptr<TCDAudioDevice>> gRegistry;
cdio_log_handler_t gDefaultLogHandler = nullptr;

// libcdio reports every failed probe (no drive, no disc) on stderr; we report
// failures through our own errors instead. Assertions keep the library's handling.
void QuietLogHandler(cdio_log_level_t level, const char* message)
{
    if (level == CDIO_LOG_ASSERT && gDefaultLogHandler)
        gDefaultLogHandler(level, message);
}

void InstallLogHandler()
{
    static std::once_flag once;
    std::call_once(once, [] { gDefaultLogHandler = cdio_log_set_handler(QuietLogHandler); });
}

bool IsImageName(const QString& name)
{
    const QString ext = QFileInfo(name).suffix().toLower();
    return ext == QLatin1String("cue") || ext == QLatin1String("toc") || ext == QLatin1String("nrg");
}

driver_id_t ImageDriver(const QString& name)
{
    const QString ext = QFileInfo(name).suffix().toLower();
    if (ext == QLatin1String("cue"))
        return DRIVER_BINCUE;
    if (ext == QLatin1String("toc"))
        return DRIVER_CDRDAO;
    return DRIVER_NRG;
}

} // namespace

std::shared_ptr<TCDAudioDevice> TCDAudioDevice::Open(const QString& name)
{
    InstallLogHandler();
    const bool isImage = IsImageName(name);
    const QString key = isImage ? QFileInfo(name).absoluteFilePath() : name;

    std::lock_guard<std::recursive_mutex> lock(gRegistryMutex);
    auto it = gRegistry.find(key);
    if (it != gRegistry.end()) {
        if (auto existing = it->second.lock())
            return existing;
    }
    std::shared_ptr<TCDAudioDevice> device(new TCDAudioDevice(key, isImage));
    if (isImage)
        device->OpenImage();
    gRegistry[key] = device;
    return device;
}

TCDAudioDevice::TCDAudioDevice(const QString& name, bool isImage) : FName(name), FIsImage(isImage) {}

TCDAudioDevice::~TCDAudioDevice()
{
    CloseHandle();
    std::lock_guard<std::recursive_mutex> lock(gRegistryMutex);
    auto it = gRegistry.find(FName);
    if (it != gRegistry.end() && it->second.expired())
        gRegistry.erase(it);
}

void TCDAudioDevice::CloseHandle()
{
    if (FCdio) {
        cdio_destroy(FCdio);
        FCdio = nullptr;
    }
}

void TCDAudioDevice::OpenImage()
{
    if (!QFileInfo(FName).isFile())
        throw ECDAudioError(QStringLiteral("The disc image \"%1\" does not exist").arg(FName));
    Refresh();
    if (!FHaveToc)
        throw ECDAudioError(QStringLiteral("The disc image \"%1\" holds no readable table of contents").arg(FName));
}

void TCDAudioDevice::RefreshImage()
{
    // An image behaves like a disc in a drive: removing the file ejects it, putting
    // it back (or replacing it) inserts it again.
    const QFileInfo info(FName);
    if (!info.isFile()) {
        FHaveToc = false;
        FImageStamp.clear();
        return;
    }
    const QString stamp = QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char('/') +
                          QString::number(info.size());
    if (FHaveToc && stamp == FImageStamp)
        return;
    FImageStamp = stamp;
    const QByteArray path = QFile::encodeName(FName);
    FCdio = cdio_open(path.constData(), ImageDriver(FName));
    if (!FCdio) {
        FHaveToc = false;
        return;
    }
    ReadToc();
    // The contents are all we need from an image; keep no file open.
    CloseHandle();
}

void TCDAudioDevice::Refresh()
{
    if (FIsImage) {
        RefreshImage();
        return;
    }
    if (FCdio) {
        // libcdio keeps the contents it read once; after a media change (or when the
        // drive cannot tell) open it afresh so that they are read again.
        if (cdio_get_media_changed(FCdio) != 0) {
            CloseHandle();
            FHaveToc = false;
        }
    }
    if (!FCdio) {
        const QByteArray path = QFile::encodeName(FName);
        FCdio = cdio_open(FName.isEmpty() ? nullptr : path.constData(), DRIVER_DEVICE);
        FHaveToc = false;
        if (!FCdio)
            return;
        cdio_get_media_changed(FCdio); // start change tracking from now
    }
    if (!FHaveToc)
        ReadToc();
}

bool TCDAudioDevice::ReadToc()
{
    FHaveToc = false;
    FStarts.clear();
    FLeadOut = 0;
    const track_t first = cdio_get_first_track_num(FCdio);
    const track_t count = cdio_get_num_tracks(FCdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return false;
    std::vector<int> starts;
    for (int t = first; t < first + count; ++t) {
        const lba_t lba = cdio_get_track_lba(FCdio, static_cast<track_t>(t));
        if (lba == CDIO_INVALID_LBA || (!starts.empty() && lba < starts.back()))
            return false;
        starts.push_back(lba);
    }
    const lba_t leadOut = cdio_get_track_lba(FCdio, CDIO_CDROM_LEADOUT_TRACK);
    if (leadOut == CDIO_INVALID_LBA || leadOut < starts.back())
        return false;
    FStarts = std::move(starts);
    FLeadOut = leadOut;
    FHaveToc = true;
    return true;
}

bool TCDAudioDevice::IsReady()
{
    Refresh();
    return FHaveToc;
}

void TCDAudioDevice::CheckReady()
{
    Refresh();
    if (!FHaveToc)
        throw ECDAudioError(QStringLiteral("The CD drive is not ready"));
}

void TCDAudioDevice::CheckTrack(int track)
{
    CheckReady();
    if (track < 1 || track > static_cast<int>(FStarts.size()))
        throw ECDAudioError(QStringLiteral("Track %1 is not on the disc").arg(track));
}

int TCDAudioDevice::TrackCount()
{
    CheckReady();
    return static_cast<int>(FStarts.size());
}

int TCDAudioDevice::TrackStart(int track)
{
    CheckTrack(track);
    return FStarts[static_cast<size_t>(track - 1)];
}

int TCDAudioDevice::TrackLength(int track)
{
    CheckTrack(track);
    const size_t i = static_cast<size_t>(track - 1);
    const int end = i + 1 < FStarts.size() ? FStarts[i + 1] : FLeadOut;
    return end - FStarts[i];
}

int TCDAudioDevice::LeadOut()
{
    CheckReady();
    return FLeadOut;
}
