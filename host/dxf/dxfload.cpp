// Loading drawings: whole-file reading into a scratch database, handed over only on success.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "host/db/dbkept.h"
#include "host/dxf/dxf.h"
#include "host/dxf/dxfreader.h"

namespace vorn::dxf {
namespace {

// A drawing file's bytes, read whole into pages of their own, which can be given back from the
// front while the file is read: a drawing of a few hundred thousand entities then never holds
// its file and its database in memory at once.
class FileText {
public:
    FileText() = default;
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;
    ~FileText() {
        if (m_map) ::munmap(m_map + m_released, m_mapped - m_released);
    }

    bool read(const std::string& path, std::string& error);
    std::string_view text() const { return std::string_view(m_map ? m_map : "", m_size); }
    // Unmaps the whole pages before offset: a read of them after this is a fault, not a wrong value.
    void release(size_t offset) {
        const size_t upto = std::min(offset, m_size) / m_page * m_page;
        if (!m_map || upto <= m_released) return;
        ::munmap(m_map + m_released, upto - m_released);
        m_released = upto;
    }

private:
    char* m_map = nullptr;
    size_t m_size = 0, m_mapped = 0, m_released = 0;
    size_t m_page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
};

bool FileText::read(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": cannot open the drawing: " + std::strerror(errno);
        return false;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = path + ": cannot open the drawing: " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = path + ": cannot open the drawing: it is a folder, a DXF file was expected";
        return false;
    }
    if (static_cast<unsigned long long>(st.st_size) > detail::kMaxFileBytes) {
        error = path + ": the file is larger than " + std::to_string(detail::kMaxFileBytes >> 20) +
                " MB; drawings up to that size can be read";
        return false;
    }
    m_size = static_cast<size_t>(st.st_size);
    if (m_size == 0) return true;
    m_mapped = (m_size + m_page - 1) / m_page * m_page;
    void* map = ::mmap(nullptr, m_mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) {
        m_size = m_mapped = 0;
        error = path + ": the drawing is too large for the memory available";
        return false;
    }
    m_map = static_cast<char*>(map);
    for (size_t done = 0; done < m_size;) {
        const ssize_t n = ::read(fd, m_map + done, m_size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = path + ": cannot read the drawing: the file changed or could not be read";
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// DWG files start with their version: "AC1015", "AC1032", ... (and old ones "AC1.50").
bool IsDwg(std::string_view text) {
    if (text.size() >= 6 && text.compare(0, 4, "AC10") == 0 && text[4] >= '0' && text[4] <= '9' && text[5] >= '0' &&
        text[5] <= '9')
        return true;
    return text.size() >= 6 && text.compare(0, 3, "AC1") == 0 && text[3] == '.';
}

bool Slurp(const std::string& path, FileText& file, std::string& error) {
    if (!file.read(path, error)) return false;
    if (IsDwg(file.text())) {
        error = path + ":1: DWG files cannot be opened yet; save it as DXF from the program that made it";
        return false;
    }
    return true;
}

// consumed: told how far the reader went, when it may forget what came before.
bool Parse(std::string_view text, const std::string& path, AcDbDatabase& db, std::string& error,
           std::vector<std::string>& notes, std::function<void(size_t)> consumed = nullptr) {
    const bool recording = db.isUndoRecording();
    db.setUndoRecording(false);
    try {
        detail::Reader reader(text, path, db, std::move(consumed));
        reader.read();
        notes = reader.notes();
    } catch (const detail::DxfError& e) {
        error = e.message;
        db.setUndoRecording(recording);
        return false;
    } catch (const std::bad_alloc&) {
        error = path + ": the drawing is too large for the memory available";
        db.setUndoRecording(recording);
        return false;
    }
    db.setUndoRecording(recording);
    db.clearUndo();
    return true;
}

void PrintNotes(const std::vector<std::string>& notes) {
    for (const std::string& n : notes) std::fprintf(stderr, "vorncad: warning: %s\n", n.c_str());
}

}  // namespace

std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::string& path, std::string& error, std::vector<std::string>& notes) {
    notes.clear();
    FileText file;
    if (!Slurp(path, file, error)) return nullptr;
    auto db = std::make_unique<AcDbDatabase>(true);
    if (!Parse(file.text(), path, *db, error, notes, [&file](size_t offset) { file.release(offset); })) return nullptr;
    return db;
}

std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::string& path, std::string& error) {
    std::vector<std::string> notes;
    std::unique_ptr<AcDbDatabase> db = ReadDxfFile(path, error, notes);
    PrintNotes(notes);
    return db;
}

Acad::ErrorStatus ReadDxf(const std::string& path, AcDbDatabase& into, std::string& error) {
    FileText file;
    if (!Slurp(path, file, error)) return Acad::eFilerError;
    std::vector<std::string> notes;
    {
        AcDbDatabase scratch(true);
        if (!Parse(file.text(), path, scratch, error, notes)) return Acad::eFilerError;
    }
    // The same text read the same way cannot fail now, short of memory.
    if (!Parse(file.text(), path, into, error, notes)) return Acad::eFilerError;
    PrintNotes(notes);
    return Acad::eOk;
}

const std::vector<std::string>& ReadNotes(const AcDbDatabase& db) { return vorn::db::FileDataOf(db).notes; }

Acad::ErrorStatus LoadDxfAsBlock(const std::string& path, AcDbDatabase& db, const std::wstring& blockName,
                                 AcDbObjectId& blockId, std::string& error) {
    std::unique_ptr<AcDbDatabase> source = ReadDxfFile(path, error);
    if (!source) return Acad::eFilerError;
    Acad::ErrorStatus es = db.insert(blockId, blockName.c_str(), source.get());
    if (es != Acad::eOk) error = path + ": cannot make a block of the drawing (" + Acad::errorStatusText(es) + ")";
    return es;
}

}  // namespace vorn::dxf
