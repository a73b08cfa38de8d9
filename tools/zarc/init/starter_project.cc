#include "zarc/init/starter_project.h"

#include <cstring>

#include "base/text.h"
#include "model/package_layout.h"
#include "script/install_script.h"
#include "zarc/init/starter_pictures.h"
#include "zarc/pack/text_conversion.h"

namespace zarc {

namespace {

// The texts, written here in UTF-8 and converted like a publisher's with --from-utf8. @NAME@ stands
// for the product's name.
const char kNamePlaceholder[] = "@NAME@";

const char kScript[] =
    "\n"
    "//-------------------------------------------\n"
    "//インストールスクリプト (@NAME@)\n"
    "//\n"
    "//コマンド\n"
    "//#G ... レジストリのパス\n"
    "//#P ... デフォルトパス指定\n"
    "//#T ... メインフォルダの名前\n"
    "//#E ... 実行ファイル指定\n"
    "//#R ... Readmeファイル指定\n"
    "//#S ... スタートメニューのパス\n"
    "//#N ... スタートメニューの実行ファイル表示名\n"
    "//#M ... スタートメニューのReadmeファイル表示名\n"
    "//#U ... アンインストーラ指定\n"
    "//#D ... 必要容量 (MB)\n"
    "//#V ... パッケージのバージョン (省略時は 5)\n"
    "//#I ... 指定ファイルをインストール\n"
    "//#F ... 指定サブフォルダを作成\n"
    "//#C ... ファイルをコピー (元,先)\n"
    "//#H ... フォルダをコピー (元,先)\n"
    "//#X ... ファイルを作成 (名前,内容)\n"
    "//#Z ... 番号が選択と違えば次の行を飛ばす\n"
    "//-------------------------------------------\n"
    "\n"
    "//環境変数設定\n"
    "#G=.Default\\Software\\@NAME@\n"
    "#P=C:\\Program Files\\@NAME@\n"
    "#T=@NAME@\n"
    "#R=readme.txt\n"
    "#S=@NAME@\n"
    "#M=ReadMeを読む\n"
    "#N=@NAME@\n"
    "#D=1\n"
    "#V=1\n"
    "\n"
    "//製品のプログラムとアンインストーラをこのフォルダに置いたら、\n"
    "//次の4行の先頭の // を消す\n"
    "//#E=@NAME@.exe\n"
    "//#U=uninstall.exe\n"
    "//#I=@NAME@.exe\n"
    "//#I=uninstall.exe\n"
    "\n"
    "//インストール\n"
    "#I=readme.txt\n";

const char kLicence[] =
    "@NAME@ 使用許諾契約書\n"
    "\n"
    "これは使用許諾契約書のひな形です。製品の契約内容に書き換えてください。\n"
    "\n"
    "1. 本ソフトウェアの著作権は著作者に帰属します。\n"
    "2. 利用者は本ソフトウェアを自己の責任において使用するものとします。\n"
    "3. 著作者は本ソフトウェアの使用により生じたいかなる損害についても責任を負いません。\n"
    "\n"
    "以上に同意される場合にのみ、インストールを続けてください。\n";

const char kReadme[] =
    "@NAME@\n"
    "\n"
    "製品の説明をここに書いてください。\n";

// The template as code page 932 with CR LF and the name put in. False when it cannot convert.
bool Fill(const char* utf8, const std::string& name, std::vector<uint8_t>* text) {
  TextRefusal refusal;
  if (!ConvertUtf8Text(std::vector<uint8_t>(utf8, utf8 + strlen(utf8)), text, &refusal)) return false;
  std::string filled(text->begin(), text->end());
  // The placeholder is ASCII and the templates hold no double-byte character before it that could
  // end in its first byte, so a plain search finds only the placeholders.
  const size_t length = strlen(kNamePlaceholder);
  for (size_t at = filled.find(kNamePlaceholder); at != std::string::npos;
       at = filled.find(kNamePlaceholder, at + name.size())) {
    filled.replace(at, length, name);
  }
  text->assign(filled.begin(), filled.end());
  return true;
}

// True for the names Windows keeps for devices (CON, NUL, COM1, ...), which no folder can bear,
// whatever their case and extension.
bool IsDeviceName(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

const char* ProductNameProblem(const std::string& name) {
  if (name.empty()) return "the product's name is empty";
  if (name.size() > kMaxProductName) return "the product's name is longer than 64 bytes";
  for (size_t i = 0; i < name.size(); i += setup::Cp932CharLength(&name[i])) {
    const uint8_t b = uint8_t(name[i]);
    if (setup::IsCp932LeadByte(b)) {
      // A trail byte may be 0x5C without being a '\'.
      if (setup::Cp932CharLength(&name[i]) == 1) return "the product's name is not valid code page 932";
    } else if (b < 0x20 || b == 0x7F || strchr("\\/:*?\"<>|", b) != nullptr) {
      return "the product's name holds a character that Windows refuses in file names "
             "(\\ / : * ? \" < > | or a control character)";
    }
  }
  if (name.back() == '.' || name.back() == ' ' || name.front() == ' ') {
    return "the product's name starts with a space or ends with a dot or space, which Windows drops";
  }
  if (IsDeviceName(name)) return "the product's name is one that Windows keeps for a device";
  return nullptr;
}

bool StarterProject(const std::string& name, std::vector<StarterFile>* files) {
  files->clear();
  StarterFile script{setup::kScriptEntry, {}}, licence{setup::kLicenceEntry, {}}, readme{"readme.txt", {}};
  if (!Fill(kScript, name, &script.data) || !Fill(kLicence, name, &licence.data) ||
      !Fill(kReadme, name, &readme.data)) {
    return false;
  }
  files->push_back(std::move(script));
  files->push_back(std::move(licence));
  files->push_back(std::move(readme));
  files->push_back(StarterFile{setup::kMainPictureEntry, StarterMainPicture()});
  files->push_back(StarterFile{setup::kPartsPictureEntry, StarterBusyAnimation()});
  return true;
}

}  // namespace zarc
