#include "zarc/pe/icon_version.h"

#include <cstring>

#include "base/byte_order.h"

namespace zarc {

using setup::LoadLE16;
using setup::LoadLE32;
using setup::AppendLE16;
using setup::AppendLE32;
using setup::RangeInside;
using setup::StoreLE16;

namespace {

constexpr size_t kIconHeaderSize = 6;
constexpr size_t kIconEntrySize = 16;
constexpr uint32_t kMaxIconImages = 255;

void AppendText(std::vector<uint8_t>* bytes, const std::u16string& text) {
  for (char16_t c : text) AppendLE16(bytes, c);
  AppendLE16(bytes, 0);
}

void PadTo4(std::vector<uint8_t>* bytes) {
  while (bytes->size() % 4 != 0) bytes->push_back(0);
}

// One node of the version information: u16 length (children included), u16 value length (in
// UTF-16 units for text, else bytes), u16 type (1 text, 0 binary), the key with its NUL, padding
// to 4, the value, padding to 4, the children.
std::vector<uint8_t> Node(const std::u16string& key, bool text, uint16_t valueLength,
                          const std::vector<uint8_t>& value,
                          const std::vector<std::vector<uint8_t>>& children) {
  std::vector<uint8_t> node(6, 0);
  AppendText(&node, key);
  PadTo4(&node);
  node.insert(node.end(), value.begin(), value.end());
  for (const std::vector<uint8_t>& child : children) {
    PadTo4(&node);
    node.insert(node.end(), child.begin(), child.end());
  }
  StoreLE16(&node[0], uint16_t(node.size()));
  StoreLE16(&node[2], valueLength);
  node[4] = text ? 1 : 0;
  return node;
}

std::vector<uint8_t> StringNode(const std::u16string& key, const std::u16string& value) {
  std::vector<uint8_t> bytes;
  AppendText(&bytes, value);
  return Node(key, true, uint16_t(value.size() + 1), bytes, {});
}

}  // namespace

bool IconResources(const std::vector<uint8_t>& file, std::vector<Resource>* resources,
                   std::string* why) {
  if (file.size() < kIconHeaderSize || LoadLE16(&file[0]) != 0 || LoadLE16(&file[2]) != 1) {
    *why = "it is not an icon file (.ico)";
    return false;
  }
  const uint32_t count = LoadLE16(&file[4]);
  if (count == 0 || count > kMaxIconImages ||
      !RangeInside(kIconHeaderSize, kIconEntrySize * count, file.size())) {
    *why = "its icon directory is empty or damaged";
    return false;
  }
  std::vector<uint8_t> group;
  AppendLE16(&group, 0);
  AppendLE16(&group, 1);
  AppendLE16(&group, count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* entry = &file[kIconHeaderSize + kIconEntrySize * i];
    const uint32_t size = LoadLE32(entry + 8);
    const uint32_t at = LoadLE32(entry + 12);
    const std::string image = "image " + std::to_string(i + 1);
    if (size < 8 || !RangeInside(at, size, file.size())) {
      *why = image + " lies outside the file";
      return false;
    }
    const uint8_t* data = &file[at];
    const bool png = memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
    const uint32_t headerSize = LoadLE32(data);
    const bool bitmap = headerSize == 40 || headerSize == 108 || headerSize == 124;
    if (!png && !bitmap) {
      *why = image + " is neither a PNG nor a bitmap";
      return false;
    }
    resources->push_back(Resource{ResourceId(kIconType), ResourceId(uint16_t(i + 1)),
                                  kResourceLanguage, 0, std::vector<uint8_t>(data, data + size)});
    group.insert(group.end(), entry, entry + 12);  // all but the offset
    AppendLE16(&group, i + 1);
  }
  resources->push_back(Resource{ResourceId(kIconGroupType), ResourceId(1), kResourceLanguage, 0,
                                std::move(group)});
  return true;
}

bool ParseVersionNumber(const std::string& text, uint16_t parts[4]) {
  size_t part = 0;
  uint32_t value = 0;
  bool digits = false;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : '.';
    if (c >= '0' && c <= '9') {
      value = value * 10 + uint32_t(c - '0');
      if (value > 0xFFFF) return false;
      digits = true;
    } else if (c == '.' && digits && part < 4) {
      parts[part++] = uint16_t(value);
      value = 0;
      digits = false;
    } else {
      return false;
    }
  }
  for (; part < 4; ++part) parts[part] = 0;
  return true;
}

Resource VersionResource(const VersionStrings& strings, const uint16_t version[4]) {
  std::vector<std::vector<uint8_t>> table;
  const std::pair<const char16_t*, const std::u16string*> fields[] = {
      {u"CompanyName", &strings.company},        {u"FileDescription", &strings.description},
      {u"FileVersion", &strings.productVersion}, {u"LegalCopyright", &strings.copyright},
      {u"ProductName", &strings.productName},    {u"ProductVersion", &strings.productVersion},
  };
  for (const auto& field : fields) {
    if (!field.second->empty()) table.push_back(StringNode(field.first, *field.second));
  }
  // Japanese, Unicode: the texts are the product's own, shown in any language.
  const std::vector<uint8_t> stringFileInfo =
      Node(u"StringFileInfo", true, 0, {}, {Node(u"041104B0", true, 0, {}, table)});
  std::vector<uint8_t> translation;
  AppendLE16(&translation, 0x0411);
  AppendLE16(&translation, 1200);
  const std::vector<uint8_t> varFileInfo =
      Node(u"VarFileInfo", true, 0, {}, {Node(u"Translation", false, 4, translation, {})});

  std::vector<uint8_t> fixed;
  const uint32_t high = uint32_t(version[0]) << 16 | version[1];
  const uint32_t low = uint32_t(version[2]) << 16 | version[3];
  for (uint32_t v : {0xFEEF04BDu, 0x00010000u, high, low, high, low, 0x3Fu, 0u, 0x00040004u, 1u,
                     0u, 0u, 0u}) {
    AppendLE32(&fixed, v);  // signature, layout version, versions, flags mask, flags, NT, program
  }
  return Resource{ResourceId(kVersionType), ResourceId(1), kResourceLanguage, 0,
                  Node(u"VS_VERSION_INFO", false, uint16_t(fixed.size()), fixed,
                       {stringFileInfo, varFileInfo})};
}

}  // namespace zarc
