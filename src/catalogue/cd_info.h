#pragma once
// The audio-disc reader: the table of contents of the disc in the drive, the CDDB
// disc id derived from it, and a 500 ms watch that reports discs going in and out.

#include "classlib/component.h"
#include "platform/cd_audio_device.h"

#include <QString>
#include <cstdint>
#include <memory>

class QTimer;

// Minutes, seconds and frames (75 a second).
struct TMsfTime {
    uint32_t Minute = 0;
    uint32_t Second = 0;
    uint32_t Frame = 0;
};

class TCDInfo : public TComponent {
public:
    TV_CLASS_NAME(TCDInfo)
    // Opens the default drive, or the drive or disc image named. Several readers on
    // the same drive share it. A missing drive leaves the reader not ready; a missing
    // image raises ECDAudioError.
    explicit TCDInfo(TComponent* owner, const QString& deviceName = QString());
    ~TCDInfo() override;

    TNotifyEvent OnEject;
    TNotifyEvent OnInsert;

    const QString& DeviceName() const { return FDeviceName; }
    bool WasReady() const { return FWasReady; }

    // These raise ECDAudioError when no disc is ready.
    int TrackCount();
    bool IsReady();
    TMsfTime TrackPosition(int track);   // tracks count from 1
    TMsfTime TrackLength(int track);
    static int MsfToFrames(const TMsfTime& msf);
    static TMsfTime FramesToMsf(int frames);
    int DiscLength();                     // seconds
    uint32_t DiscId();
    QString DiscIdString();

    // One look at the drive; the timer calls it every 500 ms.
    void PollMedia();

private:
    QString FDeviceName;
    std::shared_ptr<TCDAudioDevice> FDevice;
    QTimer* FTimer = nullptr;
    bool FWasReady = false;
};
