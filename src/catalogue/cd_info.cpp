#include "catalogue/cd_info.h"

#include <QTimer>
#include <QtGlobal>
#include <vector>

TCDInfo::TCDInfo(TComponent* owner, const QString& deviceName)
    : TComponent(owner), FDeviceName(deviceName)
{
    FTimer = new QTimer();
    FTimer->setInterval(500);
    QObject::connect(FTimer, &QTimer::timeout, FTimer, [this] {
        // Nothing may leave a Qt slot by an exception; the poll goes on regardless.
        try {
            PollMedia();
        } catch (const std::exception& e) {
            qWarning("%s", e.what());
        }
    });
    try {
        FDevice = TCDAudioDevice::Open(deviceName);
        FWasReady = IsReady();
    } catch (...) {
        delete FTimer;
        throw;
    }
    FTimer->start();
}

TCDInfo::~TCDInfo()
{
    delete FTimer;
}

int TCDInfo::TrackCount() { return FDevice->TrackCount(); }

bool TCDInfo::IsReady() { return FDevice->IsReady(); }

TMsfTime TCDInfo::TrackPosition(int track) { return FramesToMsf(FDevice->TrackStart(track)); }

TMsfTime TCDInfo::TrackLength(int track) { return FramesToMsf(FDevice->TrackLength(track)); }

int TCDInfo::MsfToFrames(const TMsfTime& msf)
{
    return static_cast<int>(75 * (60 * msf.Minute + msf.Second) + msf.Frame);
}

TMsfTime TCDInfo::FramesToMsf(int frames)
{
    const auto f = static_cast<uint32_t>(qMax(frames, 0));
    return TMsfTime{f / 4500, (f / 75) % 60, f % 75};
}

int TCDInfo::DiscLength()
{
    const int last = TrackCount();
    // The device measures the last track exactly up to the lead-out, so no frame is
    // added here: the lead-out is the last track's start plus its length.
    const TMsfTime end = FramesToMsf(MsfToFrames(TrackPosition(last)) + MsfToFrames(TrackLength(last)));
    const TMsfTime first = TrackPosition(1);
    return static_cast<int>((60 * end.Minute + end.Second) - (60 * first.Minute + first.Second));
}

uint32_t TCDInfo::DiscId()
{
    const int count = TrackCount();
    std::vector<TMsfTime> starts;
    starts.reserve(static_cast<size_t>(count));
    for (int t = 1; t <= count; ++t)
        starts.push_back(TrackPosition(t));
    uint32_t n = 0;
    for (const TMsfTime& start : starts) {
        for (uint32_t seconds = 60 * start.Minute + start.Second; seconds > 0; seconds /= 10)
            n += seconds % 10;
    }
    return ((n % 255) << 24) | (static_cast<uint32_t>(DiscLength()) << 8) | static_cast<uint32_t>(count);
}

QString TCDInfo::DiscIdString()
{
    return QStringLiteral("%1").arg(DiscId(), 8, 16, QLatin1Char('0')).toUpper();
}

void TCDInfo::PollMedia()
{
    FTimer->stop();
    struct TRestart {
        QTimer* Timer;
        ~TRestart() { Timer->start(); }
    } restart{FTimer};
    const bool ready = IsReady();
    const bool wasReady = FWasReady;
    FWasReady = ready;
    if (wasReady && !ready && OnEject)
        OnEject(this);
    if (!wasReady && ready && OnInsert)
        OnInsert(this);
}
