#pragma once
// Where the help collection comes from. The program's help lies beside its
// executable (tervolan.qhc registering the pages in tervolan.qch). The help
// engine writes its settings and search index next to the collection it
// opens, and an installed program folder is read-only, so the engine works on
// a copy of both files in the user's cache folder. No widgets; main thread.

#include <QString>

namespace sfigmo {

inline constexpr char kHelpCollectionFile[] = "tervolan.qhc";
inline constexpr char kHelpPagesFile[] = "tervolan.qch";

struct HelpCollection {
  QString file;   // the collection to open; empty when it is missing
  QString error;  // Russian message naming the missing file; empty when found
};

// The user's cache folder for the help's working copy (~/.cache/sfigmo/help).
QString DefaultHelpCacheFolder();

// Finds the collection and its pages in `programFolder` and returns a working
// copy in `cacheFolder`, renewed when the program's files differ in size or
// time (an update), with the old search index dropped. When the cache cannot
// be written, the files beside the program are returned as they are.
HelpCollection PrepareHelpCollection(const QString& programFolder, const QString& cacheFolder);

}  // namespace sfigmo
