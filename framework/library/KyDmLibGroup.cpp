// Reading library group files with pugixml.
#include "framework/library/KyDmLibGroup.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>

#include "framework/library/KyFindFile.h"
#include "host/base/textcodec.h"

struct KyDmLibGroup::Document {
  pugi::xml_document xml;
  std::vector<pugi::xml_node> libraries;  // parallel to m_libraries
};

namespace {

std::wstring Attr(const pugi::xml_node& node, const char* name) {
  return vorn::FromUtf8(node.attribute(name).as_string());
}

std::wstring Where(const pugi::xml_node& node) {
  return L" (element <" + vorn::FromUtf8(node.name()) + L"> \"" + Attr(node, "name") + L"\")";
}

// The names in other languages a node carries beside its name: name_en="...", name_fr="...".
void ReadNamesIn(const pugi::xml_node& xml, KyDtLibItemBase& node) {
  for (pugi::xml_attribute a : xml.attributes()) {
    const std::string attr = a.name();
    if (attr.size() > 5 && attr.compare(0, 5, "name_") == 0)
      node.SetNameIn(vorn::FromUtf8(attr.substr(5)), vorn::FromUtf8(a.as_string()));
  }
}

}  // namespace

bool KyIsContainedPath(const std::wstring& relative) {
  std::wstring path = KyNormalizeSeparators(relative);
  if (path.empty() || path[0] == L'/') return false;
  if (path.size() >= 2 && path[1] == L':' && std::iswalpha(path[0])) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(L'/', start);
    if (end == std::wstring::npos) end = path.size();
    if (path.compare(start, end - start, L"..") == 0) return false;
    start = end + 1;
  }
  return true;
}

KyDmLibGroup::KyDmLibGroup() = default;
KyDmLibGroup::~KyDmLibGroup() = default;

void KyDmLibGroup::SetFileName(const std::wstring& file) { m_strFile = KyNormalizeSeparators(file); }

KyDtLibrary* KyDmLibGroup::GetLibrary(int index) const {
  if (index < 0 || index >= GetLibraryCount()) return nullptr;
  return m_libraries[static_cast<size_t>(index)].get();
}

bool KyDmLibGroup::ReadFromXML() {
  m_libraries.clear();
  m_skipped.clear();
  m_strError.clear();
  m_strGroupName.clear();
  m_pDoc.reset(new Document);

  std::ifstream in(vorn::ToUtf8(m_strFile), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    m_strError = L"library group " + m_strFile + L" cannot be read";
    m_pDoc.reset();
    return false;
  }
  std::string data = text.str();
  pugi::xml_parse_result parsed = m_pDoc->xml.load_buffer(data.data(), data.size());
  pugi::xml_node root = m_pDoc->xml.child("libgroup");
  if (!parsed || !root) {
    // The line of the fault, as a reader of the file counts lines, rather than a byte offset.
    const auto faultAt = static_cast<std::ptrdiff_t>(
        std::min<size_t>(parsed.offset < 0 ? 0 : static_cast<size_t>(parsed.offset), data.size()));
    const long line = 1 + std::count(data.begin(), data.begin() + faultAt, '\n');
    m_strError = L"library group " + m_strFile +
                 (parsed ? std::wstring(L": expected a <libgroup> root element")
                         : L":" + std::to_wstring(line) + L": not well-formed XML (" +
                               vorn::FromUtf8(parsed.description()) +
                               L"); a <libgroup> of <library>, <category>, <directory> and <item> elements is expected");
    m_pDoc.reset();
    return false;
  }
  m_strGroupName = Attr(root, "name");

  std::wstring base = m_strFile;
  size_t slash = base.rfind(L'/');
  base = slash == std::wstring::npos ? std::wstring() : base.substr(0, slash + 1);
  for (pugi::xml_node lib : root.children()) {
    if (lib.type() != pugi::node_element) continue;
    if (std::string(lib.name()) != "library") {
      m_skipped.push_back(L"unknown element" + Where(lib) + L", expected <library>");
      continue;
    }
    std::wstring folder = KyNormalizeSeparators(Attr(lib, "folder"));
    if (folder.empty()) folder = L"SysLib";
    if (!KyIsContainedPath(folder)) {
      m_skipped.push_back(L"library folder \"" + folder + L"\" is not a relative path inside the group's folder" + Where(lib));
      continue;
    }
    if (folder.back() != L'/') folder += L'/';
    m_libraries.push_back(std::make_unique<KyDtLibrary>(Attr(lib, "name"), base + folder));
    ReadNamesIn(lib, *m_libraries.back());
    m_pDoc->libraries.push_back(lib);
  }
  return true;
}

namespace {

// Directories and categories nest at most this deep: trees are read and freed recursively, and
// a hostile file of a million nested elements must not run the stack out.
constexpr int kMaxTreeDepth = 256;

void ReadChildren(const pugi::xml_node& xml, KyDtLibItemBase& node, std::vector<std::wstring>& skipped, int depth) {
  for (pugi::xml_node child : xml.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string kind = child.name();
    std::wstring name = Attr(child, "name");
    if (kind == "item") {
      std::wstring file = KyNormalizeSeparators(Attr(child, "file"));
      if (!KyIsContainedPath(file)) {
        skipped.push_back(L"item data file \"" + file +
                          L"\" refused: expected a path relative to the symbol folder, without \"..\"" +
                          Where(child));
        continue;
      }
      ReadNamesIn(child, *node.AddChild(std::make_unique<KyDtLibItem>(name, file)));
    } else if (kind == "directory" || kind == "category") {
      if (depth >= kMaxTreeDepth) {
        skipped.push_back(L"element" + Where(child) + L" nested deeper than " + std::to_wstring(kMaxTreeDepth) +
                          L" levels; its contents are skipped");
        continue;
      }
      std::unique_ptr<KyDtLibItemBase> sub;
      if (kind == "directory") sub = std::make_unique<KyDtLibDirectory>(name);
      else sub = std::make_unique<KyDtLibCategory>(name);
      ReadNamesIn(child, *sub);
      ReadChildren(child, *node.AddChild(std::move(sub)), skipped, depth + 1);
    } else {
      skipped.push_back(L"unknown element" + Where(child) + L", expected <category>, <directory> or <item>");
    }
  }
}

}  // namespace

bool KyDmLibGroup::ReadLibFromXML() {
  if (!m_pDoc) return false;
  for (size_t i = 0; i < m_libraries.size(); ++i) {
    if (m_libraries[i]->GetChildCount() == 0) ReadChildren(m_pDoc->libraries[i], *m_libraries[i], m_skipped, 0);
  }
  return true;
}
