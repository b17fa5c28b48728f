#pragma once

// Free functions on path strings: splitting, sequence base names, extensions, relative paths
// and the free-space check. Paths read from anywhere may use '\' or '/' as separator; paths we
// build use '/'. Only the last path component carries an extension. Nothing here touches the
// file system except CheckDiskSpace.

#include <QString>

#include <cstdint>
#include <functional>

// Text after the last '.' of the last component; "" when there is none or it starts the
// component (".hidden").
QString GetFileExtension(const QString& path);
// Text after the last separator; the whole path when there is none or it is the first character.
QString GetFileNameFromPath(const QString& path);
// Text before the last separator; "" when there is none or it is the first character.
QString GetFolderFromPath(const QString& path);
// Text before the last separator; the whole path when there is none ("" when it is the first
// character).
QString GetDirectoryPart(const QString& path);
// The path without its extension and, unless keepFolder, without its folder.
QString GetFileTitle(const QString& path, bool keepFolder);
// GetFileTitle without a trailing "{...}" tag of the file name ("take{d3}" -> "take").
QString StripSyncNameTag(const QString& path, bool keepFolder);
bool StringsEqual(const QString& a, const QString& b);
// The base of a numbered image sequence: "img_0001.bmp" and "img_*.bmp" give "img" ("img_"
// with keepUnderscore). The folder is kept.
QString GetSequenceBaseName(const QString& path, bool keepUnderscore);
// The path without extension and without trailing digits.
QString GetDigitlessBaseName(const QString& path);
// "shot_0012.tif" and "shot-0012.tif" give "shot"; "shot0012.tif" gives "shot0012".
QString GetNumberlessBaseName(const QString& path);
// The stem of a recording's side files: no extension, then one trailing '*', then one '_'.
QString GetConfigStem(const QString& path);
// GetFileTitle (folder kept) followed by the extension, with a '.' added when it has none.
QString ChangeFileExtension(const QString& path, const QString& extension);
// The path without its extension, then "." and the extension.
QString ReplaceExtension(const QString& path, const QString& extension);

// The path of file relative to baseFolder, as stored in play groups ("../video/a.avi"). A
// file on another drive, or sharing no leading component with the base, is returned whole.
QString MakeRelativePath(const QString& baseFolder, const QString& filePath);
// Folds "../" steps (either separator) of a stored path joined to its base folder; a second
// drive prefix inside the path wins over the first ("E:/g/D:/v/a.avi" -> "D:/v/a.avi").
// The result uses '/'.
QString ResolveRelativePath(const QString& storedPath);

// Free bytes available to the caller on the volume holding a folder; negative when unknown.
using FreeSpaceQuery = std::function<int64_t(const QString& folder)>;
// Replaces the free-space query (tests); an empty function restores the real one.
void SetFreeSpaceQuery(FreeSpaceQuery query);

// 1 when neededKiB is below the free space of the folder of folderOrPath (the current folder
// when empty) in kibibytes; else 0, after "Insufficient Disk Space." when showMessage.
int CheckDiskSpace(int64_t neededKiB, const QString& folderOrPath, bool showMessage);
