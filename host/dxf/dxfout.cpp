// Group-code output.
#include "host/dxf/dxfout.h"

#include <charconv>

#include "host/dxf/dxftext.h"

namespace vorn::dxf {

void DxfOut::codeLine(int code) {
    // Codes right-aligned to three columns, as most writers do.
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, code);
    for (auto n = r.ptr - buf; n < 3; ++n) m_buf.push_back(' ');
    m_buf.append(buf, r.ptr);
    m_buf.push_back('\n');
}

void DxfOut::str(int code, const std::wstring& value) {
    codeLine(code);
    AppendEncoded(m_buf, value);
    endLine();
}

void DxfOut::raw(int code, const char* value) {
    codeLine(code);
    m_buf += value;
    endLine();
}

void DxfOut::raw(int code, const std::string& value) {
    codeLine(code);
    m_buf += value;
    endLine();
}

void DxfOut::real(int code, double value) {
    codeLine(code);
    AppendReal(m_buf, value);
    endLine();
}

void DxfOut::integer(int code, long long value) {
    codeLine(code);
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    m_buf.append(buf, r.ptr);
    endLine();
}

void DxfOut::handle(int code, std::uint64_t value) {
    codeLine(code);
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value, 16);
    for (char* c = buf; c != r.ptr; ++c)
        if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
    m_buf.append(buf, r.ptr);
    endLine();
}

void DxfOut::point(int code, const AcGePoint3d& p) {
    real(code, p.x);
    real(code + 10, p.y);
    real(code + 20, p.z);
}

void DxfOut::point2(int code, double x, double y) {
    real(code, x);
    real(code + 10, y);
}

void DxfOut::flushChunk() {
    if (m_ok && !m_sink(m_buf)) m_ok = false;
    m_buf.clear();
}

bool DxfOut::flush() {
    if (!m_buf.empty()) flushChunk();
    return m_ok;
}

}  // namespace vorn::dxf
