// The icon and version resources zarc setup adds: icon files refused where they are damaged, and
// the version information read back node by node, as Explorer walks it.
#include "zarc/pe/icon_version.h"

#include <gtest/gtest.h>

#include <map>

#include "base/byte_order.h"

namespace zarc {
namespace {

using setup::AppendLE16;
using setup::AppendLE32;
using setup::LoadLE16;
using setup::LoadLE32;

// An icon file of the given images, each listed with its true size and offset.
std::vector<uint8_t> IconFile(const std::vector<std::vector<uint8_t>>& images) {
  std::vector<uint8_t> file;
  for (uint16_t v : {uint16_t(0), uint16_t(1), uint16_t(images.size())}) AppendLE16(&file, v);
  uint32_t at = uint32_t(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    for (uint8_t b : {uint8_t(16 << i), uint8_t(16 << i), uint8_t(0), uint8_t(0)}) file.push_back(b);
    AppendLE16(&file, 1);
    AppendLE16(&file, 32);
    AppendLE32(&file, uint32_t(images[i].size()));
    AppendLE32(&file, at);
    at += uint32_t(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

std::vector<uint8_t> Bitmap() {
  std::vector<uint8_t> image(48, 0);
  image[0] = 40;
  return image;
}
std::vector<uint8_t> Png() {
  const std::string head = "\x89PNG\r\n\x1a\n rest";
  return std::vector<uint8_t>(head.begin(), head.end());
}

TEST(ZarcIcon, EachImageBecomesAnIconTheGroupNumbers) {
  std::vector<Resource> resources;
  std::string why;
  const std::vector<uint8_t> file = IconFile({Bitmap(), Png()});
  ASSERT_TRUE(IconResources(file, &resources, &why)) << why;
  ASSERT_EQ(3u, resources.size());
  EXPECT_EQ(Bitmap(), resources[0].data);
  EXPECT_EQ(Png(), resources[1].data);
  const std::vector<uint8_t>& group = resources[2].data;
  EXPECT_TRUE(resources[2].type == ResourceId(kIconGroupType));
  ASSERT_EQ(6u + 14 * 2, group.size());
  for (size_t i = 0; i < 2; ++i) {
    // The file's entry less its offset, then the icon's id.
    EXPECT_TRUE(std::equal(&file[6 + 16 * i], &file[6 + 16 * i + 12], &group[6 + 14 * i])) << i;
    EXPECT_EQ(i + 1, LoadLE16(&group[6 + 14 * i + 12]));
    EXPECT_TRUE(resources[i].name == ResourceId(uint16_t(i + 1)));
  }
}

TEST(ZarcIcon, RefusesWhatIsNoIconOrPointsOutsideIt) {
  std::vector<uint8_t> outside = IconFile({Bitmap()});
  outside[6 + 12] = 0xF0;  // the image's offset
  std::vector<uint8_t> tooLong = IconFile({Bitmap()});
  tooLong[6 + 8] = 49;  // its size, one past the end
  std::vector<uint8_t> cursor = IconFile({Bitmap()});
  cursor[2] = 2;
  std::vector<uint8_t> cutDirectory = IconFile({Bitmap(), Png()});
  cutDirectory.resize(6 + 16 + 8);
  const struct {
    std::vector<uint8_t> file;
    const char* why;
  } cases[] = {
      {{0, 0, 1}, "not an icon file"},
      {cursor, "not an icon file"},
      {IconFile({}), "empty or damaged"},
      {cutDirectory, "empty or damaged"},
      {outside, "image 1 lies outside the file"},
      {tooLong, "image 1 lies outside the file"},
      {IconFile({Bitmap(), std::vector<uint8_t>(48, 'x')}), "image 2 is neither a PNG nor a bitmap"},
  };
  for (const auto& c : cases) {
    std::vector<Resource> resources;
    std::string why;
    EXPECT_FALSE(IconResources(c.file, &resources, &why)) << c.why;
    EXPECT_NE(std::string::npos, why.find(c.why)) << why;
  }
}

TEST(ZarcVersion, ReadsOneToFourPartsOfSixteenBits) {
  uint16_t parts[4] = {9, 9, 9, 9};
  ASSERT_TRUE(ParseVersionNumber("7", parts));
  EXPECT_EQ((std::vector<uint16_t>{7, 0, 0, 0}), std::vector<uint16_t>(parts, parts + 4));
  ASSERT_TRUE(ParseVersionNumber("1.02.65535.0", parts));
  EXPECT_EQ((std::vector<uint16_t>{1, 2, 65535, 0}), std::vector<uint16_t>(parts, parts + 4));
  for (const char* wrong : {"", ".", "1.", ".1", "1..2", "1.2.3.4.5", "65536", "99999999999", "1.-2", " 1", "v1"}) {
    EXPECT_FALSE(ParseVersionNumber(wrong, parts)) << wrong;
  }
}

// The version information's nodes as Explorer finds them: key -> (value bytes, children).
struct VersionNode {
  std::u16string key;
  std::vector<uint8_t> value;
  std::vector<VersionNode> children;
};

// Reads the node at data[0, size): its length must cover exactly what it holds.
bool ReadNode(const uint8_t* data, size_t size, VersionNode* node) {
  if (size < 6 || LoadLE16(data) > size || LoadLE16(data) < 6) return false;
  const size_t length = LoadLE16(data);
  const bool text = LoadLE16(data + 4) == 1;
  size_t at = 6;
  for (; at + 1 < length && LoadLE16(data + at) != 0; at += 2) node->key += char16_t(LoadLE16(data + at));
  at = (at + 2 + 3) & ~size_t(3);
  const size_t valueBytes = LoadLE16(data + 2) * (text ? 2 : 1);
  if (at + valueBytes > length) return false;
  node->value.assign(data + at, data + at + valueBytes);
  at = (at + valueBytes + 3) & ~size_t(3);
  while (at < length) {
    node->children.emplace_back();
    if (!ReadNode(data + at, length - at, &node->children.back())) return false;
    at = (at + LoadLE16(data + at) + 3) & ~size_t(3);
  }
  return at == ((length + 3) & ~size_t(3));
}

TEST(ZarcVersion, WritesNodesThatReadBackWithTheirStringsAndNumbers) {
  VersionStrings strings;
  strings.productName = u"Quillfen";
  strings.productVersion = u"1.2";
  strings.copyright = u"\u00a9 Corvane";  // odd lengths test the padding
  const uint16_t version[4] = {1, 2, 3, 65535};
  const Resource resource = VersionResource(strings, version);
  EXPECT_TRUE(resource.type == ResourceId(kVersionType));
  VersionNode root;
  ASSERT_TRUE(ReadNode(resource.data.data(), resource.data.size(), &root));
  EXPECT_EQ(resource.data.size(), LoadLE16(resource.data.data()));
  EXPECT_EQ(u"VS_VERSION_INFO", root.key);
  ASSERT_EQ(52u, root.value.size());
  EXPECT_EQ(0xFEEF04BDu, LoadLE32(&root.value[0]));
  for (size_t at : {8, 16}) {  // file and product version
    EXPECT_EQ(0x00010002u, LoadLE32(&root.value[at]));
    EXPECT_EQ(0x0003FFFFu, LoadLE32(&root.value[at + 4]));
  }
  ASSERT_EQ(2u, root.children.size());
  ASSERT_EQ(1u, root.children[0].children.size());
  const VersionNode& table = root.children[0].children[0];
  EXPECT_EQ(u"041104B0", table.key);
  std::map<std::u16string, std::u16string> found;
  for (const VersionNode& s : table.children) {
    std::u16string value;
    for (size_t i = 0; i + 1 < s.value.size(); i += 2) value += char16_t(LoadLE16(&s.value[i]));
    found[s.key] = value;
  }
  // Empty strings are left out; each value carries its NUL.
  const std::u16string nul(1, u'\0');
  EXPECT_EQ((std::map<std::u16string, std::u16string>{{u"FileVersion", u"1.2" + nul},
                                                      {u"LegalCopyright", u"\u00a9 Corvane" + nul},
                                                      {u"ProductName", u"Quillfen" + nul},
                                                      {u"ProductVersion", u"1.2" + nul}}),
            found);
  EXPECT_EQ(u"Translation", root.children[1].children.at(0).key);
  EXPECT_EQ((std::vector<uint8_t>{0x11, 0x04, 0xB0, 0x04}), root.children[1].children.at(0).value);
}

}  // namespace
}  // namespace zarc
