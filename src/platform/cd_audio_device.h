#pragma once
// The CD-audio device: the table of contents of the audio disc in a drive, or of a
// disc image (CUE sheet with its BIN, cdrdao TOC file), read through libcdio.
// Positions are in frames (75 a second) on the disc's absolute time scale, so the
// first track of an ordinary disc starts at frame 150 (0:02.00).

#include "classlib/sysutils.h"

#include <QString>
#include <memory>
#include <vector>

struct _CdIo;

// Raised when the device cannot be opened or a status request fails.
class ECDAudioError : public Exception { using Exception::Exception; };

class TCDAudioDevice {
public:
    // Opens the default drive (empty name), a drive by its device path, or a disc
    // image (a name ending in .cue, .toc or .nrg). Everyone asking for the same name
    // gets the same device. A missing drive is not an error: the device then stays
    // not ready. A missing or unreadable image raises ECDAudioError; an image that
    // goes away later counts as an ejected disc.
    static std::shared_ptr<TCDAudioDevice> Open(const QString& name = QString());

    ~TCDAudioDevice();
    TCDAudioDevice(const TCDAudioDevice&) = delete;
    TCDAudioDevice& operator=(const TCDAudioDevice&) = delete;

    const QString& Name() const { return FName; }
    bool IsImage() const { return FIsImage; }

    // True when a disc with a readable table of contents is present. For a drive this
    // looks at the drive again and re-reads the contents after a media change.
    bool IsReady();
    // The following raise ECDAudioError when no disc is ready or the track is out of range.
    int TrackCount();
    int TrackStart(int track);   // tracks count from 1
    int TrackLength(int track);  // up to the next track's start, or the lead-out
    int LeadOut();

private:
    explicit TCDAudioDevice(const QString& name, bool isImage);
    void OpenImage();
    void Refresh();
    void RefreshImage();
    bool ReadToc();
    void CloseHandle();
    void CheckReady();
    void CheckTrack(int track);

    QString FName;
    bool FIsImage = false;
    _CdIo* FCdio = nullptr;
    QString FImageStamp;
    bool FHaveToc = false;
    std::vector<int> FStarts;
    int FLeadOut = 0;
};
