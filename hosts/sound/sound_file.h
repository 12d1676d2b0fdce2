#pragma once
// A sound file opened through libsndfile by its path only: no name is taken as a command or as a
// standard stream. Samples move as 64-bit floats, a float file's exactly as stored.
#include <sndfile.h>

#include <string>

#include "sample_format.h"

namespace sound {

class SoundFile {
public:
    SoundFile() = default;
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // Opens `path` for reading; "" or the message (a folder, unreadable, not a sound file).
    std::string OpenRead(const std::string& path);
    // Creates or empties `path` and opens it for writing in `format`; "" or the message.
    std::string OpenWrite(const std::string& path, int format, int rate, int channels);
    // Closes the file, writing its header; "" or what failed.
    std::string Close();

    // Reads up to `frames` frames into `samples`; the count read (0 at the end or on a failure).
    long long Read(double* samples, long long frames);
    // Writes `frames` frames; "" or what failed (a full disk named as such).
    std::string Write(const double* samples, long long frames);
    // Whether the file ends before its header says (as a file cut short does).
    bool CutShort() const;
    // A failure while reading, "" for none.
    std::string ReadProblem() const;

    int rate() const { return mInfo.samplerate; }
    int channels() const { return mInfo.channels; }
    long long frames() const { return mInfo.frames; }
    Sample sample() const { return SampleOf(mInfo.format); }

private:
    std::string SystemProblem(const char* what, int error) const;

    SNDFILE* mFile = nullptr;
    SF_INFO mInfo{};
    std::string mPath;
};

// Opens `path` as a render's input and refuses what a render cannot take (no audio, more than two
// channels, or what OpenRead refuses): "" or the message.
std::string OpenInput(const std::string& path, SoundFile* file);

}  // namespace sound
