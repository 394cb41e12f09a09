#pragma once
// libdspdf.so: the PDF maker. It takes report pages as serialised QPicture
// data (Qt's metafile) and writes them, each on one A4 page at its true
// physical size, with Qt's PDF writer; the fonts are embedded. The caller
// needs a QGuiApplication (fonts) and calls from its main thread.
//
// One document at a time per process. The program calls BeginDoc, SetPage,
// PrintPageM, EndDoc in that order; NewPage and PrintPageF serve other
// callers. Every function returns 1 on success and 0 on refusal (with a
// line on stderr); a refused call leaves the document as it was, and a
// document whose EndDoc did not succeed leaves no file behind: the PDF is
// written to a temporary file beside the target and renamed into place by
// EndDoc, so an older PDF of the same name stays intact until then. Every
// write, the flush to disk, the close and the rename are checked: a full
// disk makes EndDoc return 0.

#ifdef __cplusplus
extern "C" {
#endif

#define DSPDF_EXPORT __attribute__((visibility("default")))

// Starts a document to be written to `path` (zero-terminated, the file
// system's encoding). A document still open is abandoned.
DSPDF_EXPORT int BeginDoc(const char* path);

// Page format for the pages that follow: `size` 2 is A4 (the only one
// offered), `orientation` 0 portrait or 1 landscape; `reserved1` and
// `reserved2` must be 0.
DSPDF_EXPORT int SetPage(int size, int orientation, int reserved1, int reserved2);

// Lays one picture (QPicture::data(), `count` bytes) on a page of its own,
// its origin at the page's top-left corner. Data that is not a well-formed
// picture is refused before anything is drawn.
DSPDF_EXPORT int PrintPageM(const void* data, int count);

// The same for a picture saved in a file (QPicture::save()).
DSPDF_EXPORT int PrintPageF(const char* path);

// Adds a blank page.
DSPDF_EXPORT int NewPage(void);

// Finishes the document: at least one page must have been printed. The PDF
// is complete on disk when this returns 1.
DSPDF_EXPORT int EndDoc(void);

#ifdef __cplusplus
}
#endif
