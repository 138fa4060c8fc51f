// Saving a drawing: the text into a temporary file beside the target, flushed, then renamed.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "host/dxf/dxf.h"
#include "host/dxf/dxfwriter.h"

namespace vorn::dxf {
namespace {

std::string Folder(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Reason(int err) { return std::strerror(err); }

bool WriteAll(int fd, std::string_view data, int& err) {
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string DxfText(const AcDbDatabase& db) {
    std::string text;
    DxfOut out([&](std::string_view chunk) {
        text += chunk;
        return true;
    });
    detail::Writer(db, out, true).write();
    out.flush();
    return text;
}

Acad::ErrorStatus WriteDxf(const AcDbDatabase& db, const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "cannot save the drawing: no file name was given";
        return Acad::eFilerError;
    }
    std::random_device rd;
    std::string temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(rd() % 1000000);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = path + ": cannot save the drawing: cannot create a file in " + Folder(path) + ": " + Reason(errno);
        return Acad::eFilerError;
    }
    int err = 0;
    DxfOut out([&](std::string_view chunk) { return WriteAll(fd, chunk, err); });
    detail::Writer(db, out).write();
    bool ok = out.flush();
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        error = path + ": cannot save the drawing: " + Reason(err) + " (the previous file, if any, is unchanged)";
        return Acad::eFilerError;
    }
    // The rename itself lasts only once the folder is flushed too.
    int dir = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Acad::eOk;
}

}  // namespace vorn::dxf
