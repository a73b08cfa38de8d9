// The program's own texts in code page 932, the encoding it works in whatever the system's
// language. Each is shown in UTF-8 beside it. Made by scripts/make-texts.py; edit there.
#pragma once

namespace setup {

// 同意書.txt  (package entry holding the licence text)
inline constexpr char kLicenceEntry[] = "\x93\xaf\x88\xd3\x8f\x91.txt";
// ｲﾝｽﾄｰﾙされていないので、ﾊﾞｰｼﾞｮﾝｱｯﾌﾟできません。
inline constexpr char kNotInstalledText[] = "\xb2\xdd\xbd\xc4\xb0\xd9\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xc8\x82\xa2\x82\xcc\x82\xc5\x81" "A\xca\xde\xb0\xbc\xde\xae\xdd\xb1\xaf\xcc\xdf\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81" "B";
// ｾｯﾄｱｯﾌﾟは正常に終了しました。
inline constexpr char kSetupSucceededText[] = "\xbe\xaf\xc4\xb1\xaf\xcc\xdf\x82\xcd\x90\xb3\x8f\xed\x82\xc9\x8fI\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81" "B";
// ｾｯﾄｱｯﾌﾟに失敗しました。
inline constexpr char kSetupFailedText[] = "\xbe\xaf\xc4\xb1\xaf\xcc\xdf\x82\xc9\x8e\xb8\x94s\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81" "B";
// ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは正常に終了しました。
inline constexpr char kVersionUpSucceededText[] = "\xca\xde\xb0\xbc\xde\xae\xdd\xb1\xaf\xcc\xdf\x82\xcd\x90\xb3\x8f\xed\x82\xc9\x8fI\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81" "B";
// ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました。
inline constexpr char kVersionUpFailedText[] = "\xca\xde\xb0\xbc\xde\xae\xdd\xb1\xaf\xcc\xdf\x82\xc9\x8e\xb8\x94s\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81" "B";
// ｱﾝｲﾝｽﾄｰﾙしました。
inline constexpr char kUninstalledText[] = "\xb1\xdd\xb2\xdd\xbd\xc4\xb0\xd9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81" "B";
// ﾃﾞｨｽｸの空き容量が不足しています。
inline constexpr char kDiskSpaceShortText[] = "\xc3\xde\xa8\xbd\xb8\x82\xcc\x8b\xf3\x82\xab\x97" "e\x97\xca\x82\xaa\x95s\x91\xab\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81" "B";
// ﾃﾞｨﾚｸﾄﾘが作成できません。
inline constexpr char kCannotMakeFolderText[] = "\xc3\xde\xa8\xda\xb8\xc4\xd8\x82\xaa\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81" "B";
// ｱﾝｲﾝｽﾄｰﾗｰ  (appended to the program's shortcut name)
inline constexpr char kUninstallerLinkSuffix[] = "\xb1\xdd\xb2\xdd\xbd\xc4\xb0\xd7\xb0";
// ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ開始
inline constexpr char kVersionUpStartText[] = "\xca\xde\xb0\xbc\xde\xae\xdd\xb1\xaf\xcc\xdf\x8aJ\x8en";
// ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ中止
inline constexpr char kVersionUpStopText[] = "\xca\xde\xb0\xbc\xde\xae\xdd\xb1\xaf\xcc\xdf\x92\x86\x8e~";
// 空き容量:[%.1f MByte] / 必要容量:[%d MByte]
inline constexpr char kFreeSpaceMBFormat[] = "\x8b\xf3\x82\xab\x97" "e\x97\xca:[%.1f MByte] / \x95K\x97v\x97" "e\x97\xca:[%d MByte]";
// 空き容量:[%.2f GByte] / 必要容量:[%d MByte]
inline constexpr char kFreeSpaceGBFormat[] = "\x8b\xf3\x82\xab\x97" "e\x97\xca:[%.2f GByte] / \x95K\x97v\x97" "e\x97\xca:[%d MByte]";
// ＊%d MByte以上の空き容量が必要です
inline constexpr char kRequirementFormat[] = "\x81\x96%d MByte\x88\xc8\x8f\xe3\x82\xcc\x8b\xf3\x82\xab\x97" "e\x97\xca\x82\xaa\x95K\x97v\x82\xc5\x82\xb7";
// %s \r\n空き容量:[%.1f MByte]
inline constexpr char kFolderStatusMBFormat[] = "%s \r\n\x8b\xf3\x82\xab\x97" "e\x97\xca:[%.1f MByte]";
// %s \r\n空き容量:[%.2f GByte]
inline constexpr char kFolderStatusGBFormat[] = "%s \r\n\x8b\xf3\x82\xab\x97" "e\x97\xca:[%.2f GByte]";

// Message box captions.
inline constexpr char kSetupCaption[] = "SETUP";
inline constexpr char kVersionUpCaption[] = "VERSION UP";
inline constexpr char kDiskSpaceCaption[] = "DISK SPACE";
inline constexpr char kUninstallCaption[] = "UnInstall";

}  // namespace setup
