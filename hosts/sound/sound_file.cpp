#include "sound_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace sound {

SoundFile::~SoundFile() {
    if (mFile) sf_close(mFile);
}

std::string SoundFile::SystemProblem(const char* what, int error) const {
    return std::string(what) + " " + mPath + ": " + std::strerror(error);
}

std::string SoundFile::OpenRead(const std::string& path) {
    mPath = path;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? "no such file: " + path : SystemProblem("cannot read", errno);
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        return path + " is a folder; give a sound file";
    }
    mFile = sf_open_fd(fd, SFM_READ, &mInfo, SF_TRUE);
    if (!mFile) return path + " is not a sound file this program reads (" + sf_strerror(nullptr) + ")";
    // Floats as stored: no clipping, no scaling of integer data beyond the usual full scale of 1.
    sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_FALSE);
    return "";
}

bool SoundFile::CutShort() const {
    // libsndfile reads such a file to its end and logs the data chunk's length "(should be N)".
    char log[4096] = {};
    sf_command(mFile, SFC_GET_LOG_INFO, log, sizeof log);
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        if ((!line.rfind("data :", 0) || !line.rfind("SSND :", 0)) && line.find("(should be") != std::string::npos)
            return true;
    return false;
}

std::string SoundFile::OpenWrite(const std::string& path, int format, int rate, int channels) {
    mPath = path;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return SystemProblem("cannot write", errno);
    mInfo = SF_INFO{};
    mInfo.samplerate = rate;
    mInfo.channels = channels;
    mInfo.format = format;
    errno = 0;
    mFile = sf_open_fd(fd, SFM_WRITE, &mInfo, SF_TRUE);
    if (!mFile)
        return errno ? SystemProblem("cannot write", errno) : "cannot write " + path + ": " + sf_strerror(nullptr);
    // Integer results are clipped at full scale rather than wrapped around.
    sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return "";
}

long long SoundFile::Read(double* samples, long long frames) { return sf_readf_double(mFile, samples, frames); }

std::string SoundFile::ReadProblem() const {
    return sf_error(mFile) == SF_ERR_NO_ERROR ? "" : "cannot read " + mPath + ": " + sf_strerror(mFile);
}

std::string SoundFile::Write(const double* samples, long long frames) {
    errno = 0;
    if (sf_writef_double(mFile, samples, frames) == frames) return "";
    return errno ? SystemProblem("cannot write", errno) : "cannot write " + mPath + ": " + sf_strerror(mFile);
}

std::string SoundFile::Close() {
    errno = 0;
    const int result = sf_close(mFile);
    mFile = nullptr;
    if (result == 0) return "";
    return errno ? SystemProblem("cannot write", errno) : "cannot finish " + mPath + ": " + sf_error_number(result);
}

std::string OpenInput(const std::string& path, SoundFile* file) {
    std::string problem = file->OpenRead(path);
    if (!problem.empty()) return problem;
    if (file->frames() <= 0) return path + " holds no audio; give a file with samples in it";
    if (file->channels() > 2)
        return path + " has " + std::to_string(file->channels()) + " channels; mono and stereo files only";
    return "";
}

}  // namespace sound
