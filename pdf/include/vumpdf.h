/* vumpdf.h: the C interface of libPDF, a PDF 1.3 writer.
 *
 * Conventions shared by every function:
 * - A document handle (from CreateVum or CreatePdf) comes first, except for
 *   CreateVum, CreatePdf and GetErrorMsg. Handles are never reused once freed.
 * - Integers are int32_t. Booleans and small enumerations are int32_t of which
 *   only the low byte is read (any nonzero low byte is true).
 * - Texts are UTF-8, zero-terminated; a null pointer is the empty text.
 * - Lengths are in the document's LengthUnit (0 tenths of a millimetre, the
 *   default; 1 points), measured from the top-left corner, y growing down.
 * - Colours are 0x00BBGGRR values.
 * - Every function returns 0 (or the value asked for) on success and -1 on
 *   failure; GetErrorMsg then gives the message. A query can return -1 as a
 *   genuine value: an empty message tells it apart.
 * - Buffers that receive texts (GetErrorMsg, GetStrProp, StyleParameter) must
 *   hold 256 bytes: at most 255 bytes of text and the terminating zero are
 *   written, cut on a UTF-8 character boundary.
 */
#ifndef VUMPDF_H
#define VUMPDF_H

#include <stdint.h>

#if defined(VUMPDF_BUILDING)
#define VUMPDF_API __attribute__((visibility("default")))
#else
#define VUMPDF_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* An event callback receives the handle of the document that raised it. */
typedef void (*VumEventCallback)(int32_t handle);

/* Numeric property ids (GetNumProp/SetNumProp). */
enum {
    VUM_ABORTED = 20, VUM_BRUSH_COLOR, VUM_BRUSH_STYLE, VUM_EMBED_FONTS, VUM_FONT_BOLD,
    VUM_FONT_COLOR, VUM_FONT_DEGREE_ANGLE, VUM_FONT_ITALIC, VUM_FONT_SIZE,
    VUM_FONT_STRIKE_OUT, VUM_FONT_UNDERLINE, VUM_IMAGE_COMPRESS_MODE, VUM_LENGTH_UNIT,
    VUM_ORIENTATION, VUM_PAGE_HEIGHT, VUM_PAGE_NUMBER, VUM_PAGE_WIDTH, VUM_PEN_COLOR,
    VUM_PEN_STYLE, VUM_PEN_WIDTH, VUM_PEN_POS_X, VUM_PEN_POS_Y, VUM_PRINTING,
    VUM_CURRENT_Y, VUM_WANT_SHOW, VUM_JPEG_QUALITY, VUM_SMART_STRETCH_DRAW,
    VUM_CHARACTER_SPACING, VUM_LINE_SPACING, VUM_FONT_CHARSET, VUM_METAFILE_RESOLUTION,
    VUM_IMAGE_HORZ_ALIGN, VUM_IMAGE_VERT_ALIGN, VUM_BULLET_NUMBER, VUM_CURRENT_X,
    VUM_NO_IMAGE_REUSE, VUM_ENABLE_OUTPUT, VUM_SECTION_NUMBER, VUM_PAGE_COUNT,
    VUM_SECTION_PAGE_NUMBER, VUM_WANT_PAGE_COUNT
};

/* String property ids (GetStrProp/SetStrProp).
 * VUM_FILE_NAME: the file BeginDoc writes. A relative name (a bare name too) is relative to the
 * working folder at BeginDoc. Without an extension, or with another output kind's (.jpg, .bmp,
 * ...), ".pdf" is appended or put in its place; with no name at all the VUM_TITLE (characters
 * a file name cannot hold made "_"), else "File", is the name. */
enum {
    VUM_FILE_NAME = 10, VUM_FONT_NAME, VUM_NON_EMBEDDED_FONTS, VUM_PAPER_SIZE_NAME,
    VUM_TITLE, VUM_AUTHOR, VUM_KEYWORDS, VUM_SUBJECT, VUM_CURRENT_STYLE_NAME,
    VUM_PRODUCER, VUM_TEMP_FOLDER
};

/* Handles and documents. wnd and msgBase are kept for TrapEvent's message numbers. */
VUMPDF_API int32_t CreateVum(int32_t wnd, int32_t msgBase);      /* handle or -1 */
VUMPDF_API int32_t CreatePdf(int32_t wnd, int32_t msgBase);      /* same as CreateVum */
VUMPDF_API int32_t FreeVum(int32_t h);   /* aborts an open document, deletes its partial file */
VUMPDF_API int32_t FreePdf(int32_t h);
VUMPDF_API int32_t BeginDoc(int32_t h);  /* deletes an old file of the output name, opens page 1 */
/* Completes the file; nothing to do when none is open. A document with VUM_WANT_PAGE_COUNT set
   was only laid out and counted so far (no file yet): EndDoc runs it a second time, writing the
   file with the final totals on every page. */
VUMPDF_API int32_t EndDoc(int32_t h);
VUMPDF_API int32_t Abort(int32_t h);     /* closes the document and deletes its file */
VUMPDF_API int32_t NewPage(int32_t h);
VUMPDF_API int32_t NewSection(int32_t h, int32_t orientation, int32_t startSection);
VUMPDF_API int32_t SetPageNumberFormat(int32_t h, int32_t pageFormat, int32_t sectionFormat);
/* Passwords of the next document (40-bit RC4, standard security handler revision 2); BeginDoc
   takes them over for that one document. Refused while a document is open. An empty owner
   password takes the user password. Passwords are hashed in PDFDocEncoding, as readers type
   them: one holding a character that encoding lacks (Chinese, for one) is refused with
   "Password character not in PDFDocEncoding". SetUserPassword with an empty password and a
   permission withheld writes an encrypted file that opens without a password but carries the
   permissions. */
VUMPDF_API int32_t SetOwnerPassword(int32_t h, const char* password);
VUMPDF_API int32_t SetUserPassword(int32_t h, const char* password, int32_t canPrint,
                                   int32_t canCopy, int32_t canAnnotate, int32_t canModify);

/* Properties, errors, events. */
VUMPDF_API int32_t GetNumProp(int32_t h, int32_t id);            /* value or -1 */
VUMPDF_API int32_t SetNumProp(int32_t h, int32_t id, int32_t value);
VUMPDF_API int32_t GetStrProp(int32_t h, int32_t id, char* buffer);
VUMPDF_API int32_t SetStrProp(int32_t h, int32_t id, const char* value);
/* Copies the last error message into buffer and forgets it; always 0. */
VUMPDF_API int32_t GetErrorMsg(char* buffer);
/* ONABORT, ONEND, ONNEWPAGE, ONSTART (any case) reach callback; with a null
 * callback the event's message number msgBase + 1024 + n is returned.
 * Each event is raised once per document, also when VUM_WANT_PAGE_COUNT lays it
 * out twice: ONSTART once, ONNEWPAGE once per page, ONEND when the file is
 * complete. A handler may draw (headers, page counters); BeginDoc from an
 * ONEND or ONABORT handler fails with "Can't edit document now: BeginDoc". */
VUMPDF_API int32_t TrapEvent(int32_t h, const char* eventName, VumEventCallback callback);

/* The finished file. */
VUMPDF_API int32_t Show(int32_t h);                              /* xdg-open */
VUMPDF_API int32_t ShowDoc(int32_t h);
VUMPDF_API int32_t Print(int32_t h);                             /* lp, default printer */
VUMPDF_API int32_t PrintDoc(int32_t h, const char* printerName);
/* xdg-email; 1 sent, 0 cancelled, -1 error. recipients: addresses separated by ";"; one that
   begins with "-" is refused ("Invalid email address") and nothing is sent. */
VUMPDF_API int32_t EmailDoc(int32_t h, const char* recipients, const char* subject,
                            const char* text, int32_t showDialog);

/* Drawing. */
VUMPDF_API int32_t MoveTo(int32_t h, int32_t x, int32_t y);
VUMPDF_API int32_t LineTo(int32_t h, int32_t x, int32_t y);
VUMPDF_API int32_t Rectangle(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
VUMPDF_API int32_t Ellipse(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
VUMPDF_API int32_t FillRect(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
VUMPDF_API int32_t FrameRect(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
VUMPDF_API int32_t RoundRect(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             int32_t x3, int32_t y3);
VUMPDF_API int32_t Arc(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       int32_t x3, int32_t y3, int32_t x4, int32_t y4);
VUMPDF_API int32_t Chord(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                         int32_t x3, int32_t y3, int32_t x4, int32_t y4);
VUMPDF_API int32_t Pie(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       int32_t x3, int32_t y3, int32_t x4, int32_t y4);
VUMPDF_API int32_t AddPoint(int32_t h, int32_t x, int32_t y);
/* The polygon calls use the points added so far and then forget them. */
VUMPDF_API int32_t Polygon(int32_t h);
VUMPDF_API int32_t Polyline(int32_t h);
VUMPDF_API int32_t PolyBezier(int32_t h);
VUMPDF_API int32_t PolyBezierTo(int32_t h);
/* target 0 brush, 1 pen, 2 font; mode 0 colour value, 1 RGB, 2 HSL %, 3 CMYK %, 4 grey %. */
VUMPDF_API int32_t SetColorEx(int32_t h, int32_t target, int32_t mode, int32_t c1,
                              int32_t c2, int32_t c3, int32_t c4);
VUMPDF_API int32_t CopyRect(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                            int32_t dc, int32_t sx1, int32_t sy1, int32_t sx2, int32_t sy2);
VUMPDF_API int32_t Draw(int32_t h, int32_t x, int32_t y, int32_t gdiHandle);
VUMPDF_API int32_t StretchDraw(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                               int32_t gdiHandle);
/* fileName: a picture file, or an http://, https:// or ftp:// address. */
VUMPDF_API int32_t DrawFromFile(int32_t h, int32_t x, int32_t y, const char* fileName);
VUMPDF_API int32_t StretchDrawFromFile(int32_t h, int32_t x1, int32_t y1, int32_t x2,
                                       int32_t y2, const char* fileName);

/* Text and paragraphs. Alignments: 0 left/top, 1 right/bottom, 2 centre. */
VUMPDF_API int32_t TextOut(int32_t h, int32_t x, int32_t y, const char* text);
VUMPDF_API int32_t TextWidth(int32_t h, const char* text);
VUMPDF_API int32_t TextHeight(int32_t h, const char* text);
/* DrawText returns the number of characters (not bytes) that did not fit the
   rectangle, 0 when all of it was drawn; VUM_CURRENT_Y then stands below the last line. */
VUMPDF_API int32_t DrawText(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                            int32_t horzAlign, int32_t vertAlign, const char* text);
/* kind1, kind2: 0 none, 1 page, 2 pages in all, 3 page of the section, 4 pages of the
   section, 5 section, 6 sections in all, 7-10 sheet numbers (two pages a sheet). The
   totals (even kinds) need VUM_WANT_PAGE_COUNT set before BeginDoc. */
VUMPDF_API int32_t DrawPageCounter(int32_t h, int32_t x, int32_t y, int32_t x2,
                                   int32_t horzAlign, const char* prefix, int32_t kind1,
                                   const char* separator, int32_t kind2, const char* suffix);
/* DrawRichTextFromFile returns 1 when the whole text fitted the rectangle and was drawn,
   0 when it did not fit: then nothing is drawn and VUM_CURRENT_Y is unchanged. */
VUMPDF_API int32_t DrawRichTextFromFile(int32_t h, int32_t x1, int32_t y1, int32_t x2,
                                        int32_t y2, const char* fileName);
/* WriteRichText: text is rich text source when it begins with "{\rtf" and a version
   number, else the name or address of a rich or plain text file. With page feeds on, text
   that no page has room for (indents beyond the paper) fails with "Invalid style sheet
   margins: no space left on paper sheet"; what was written before stays. */
VUMPDF_API int32_t WriteRichText(int32_t h, const char* text, const char* styleName);
VUMPDF_API int32_t BeginPara(int32_t h, const char* text, const char* styleName);
VUMPDF_API int32_t AppendPara(int32_t h, const char* text, const char* styleName);
VUMPDF_API int32_t AppendTabPara(int32_t h, const char* text, const char* styleName);
VUMPDF_API int32_t EndPara(int32_t h, const char* text, const char* styleName);
VUMPDF_API int32_t WritePara(int32_t h, const char* text, const char* styleName);
VUMPDF_API int32_t AppendLinkPara(int32_t h, const char* text, const char* styleName,
                                  const char* link);
VUMPDF_API int32_t ParaHeight(int32_t h, const char* text);
VUMPDF_API int32_t NameNextPara(int32_t h, const char* name);
VUMPDF_API int32_t DefineStyle(int32_t h, const char* styleName, const char* baseStyleName,
                               const char* definition);
VUMPDF_API int32_t LoadStyleSheet(int32_t h, const char* fileName);
VUMPDF_API int32_t StyleParameter(int32_t h, const char* name, char* buffer);
VUMPDF_API int32_t DeclareSymbolicFont(int32_t h, const char* fontName);

/* Grids: tables drawn row by row. DefineGrid names a grid (names ignore case) and drops its
   columns; align 0 puts x at the left edge, 1 at the right edge, 2 centres the grid on the page;
   margin is kept free inside every cell. DefineCol appends a column filled with the current brush
   and ruled on its left with the current pen (a last column of width 0 gives the right edge).
   DrawGrid places the grid with its next row at y; DrawRow draws the next row (a row of height 0
   gives the bottom edge); a new page starts the rows again at its top edge. TextToCell writes into
   a drawn cell (col and row from 0; a wrapping column lays the text out on several lines, another
   cuts it to the cell's width). CellX and CellY give a cell's corner (0 top-left, 1 top-right,
   2 bottom-right, 3 bottom-left); CellTextHeight the height a cell of the column needs for text.
   Failures ("Invalid Grid name", "Grid Cols not defined", "Grid too wide", "Grid row out of page",
   "Invalid cell", "Invalid corner") abort the document. */
VUMPDF_API int32_t DefineGrid(int32_t h, const char* gridName, int32_t align, int32_t margin);
VUMPDF_API int32_t DefineCol(int32_t h, const char* gridName, int32_t width, int32_t horzAlign,
                             int32_t vertAlign, int32_t wrap);
VUMPDF_API int32_t DrawGrid(int32_t h, const char* gridName, int32_t x, int32_t y);
VUMPDF_API int32_t DrawRow(int32_t h, const char* gridName, int32_t height);
VUMPDF_API int32_t TextToCell(int32_t h, const char* gridName, int32_t col, int32_t row,
                              const char* text);
VUMPDF_API int32_t CellTextHeight(int32_t h, const char* gridName, int32_t col, const char* text);
VUMPDF_API int32_t CellX(int32_t h, const char* gridName, int32_t col, int32_t row, int32_t corner);
VUMPDF_API int32_t CellY(int32_t h, const char* gridName, int32_t col, int32_t row, int32_t corner);

/* Links, names, bookmarks and annotations. DefineName names a place on the current page (names
   ignore case; "Duplicate name" for a second definition). A link is a rectangle over the page whose
   text is, in this order: NextPage, PrevPage, FirstPage or LastPage (any case); an address starting
   http:, https:, ftp: or mailto:; "other.pdf|name" for a name in an existing PDF file; an existing
   file to open (a bare name is looked for beside the document); else a name defined anywhere in
   the document. A "{title}" before the text is ignored. Names that links use but no DefineName
   defines give one warning each when the document ends (on standard error); the file is complete.
   WriteLink draws text and puts a link over it. Bookmarks make the outline: level 1 is a top
   entry, level n goes under the latest entry of level n - 1, anything deeper fails
   "Bad bookmark level" and aborts the document; open 0 shows the entry closed; titles keep 255
   characters. WriteBookmark and PrintBookMark also draw the title at x, y.
   Annotation puts a note at x, y with icon 0 Comment, 1 Help, 2 Insert, 3 Key, 4 NewParagraph,
   5 Note; its text "{title}contents" gives the pop-up's title. RubberStamp stamps the rectangle
   with 0 Approved, 1 Asis, 2 Confidential, 3 Departmental, 4 Draft, 5 Experimental, 6 Expired,
   7 Final, 8 ForComment, 9 ForPublicRelease, 10 NotApproved, 11 NotForPublicRelease, 12 Sold,
   13 TopSecret. Other icon and stamp numbers fail "Bad parameters for method". */
VUMPDF_API int32_t DefineName(int32_t h, int32_t x, int32_t y, const char* name);
VUMPDF_API int32_t SetLink(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                           const char* link);
VUMPDF_API int32_t WriteLink(int32_t h, int32_t x, int32_t y, const char* text, const char* link);
VUMPDF_API int32_t SetBookmark(int32_t h, int32_t x, int32_t y, const char* title,
                               int32_t level, int32_t open);
VUMPDF_API int32_t WriteBookmark(int32_t h, int32_t x, int32_t y, const char* text,
                                 int32_t level, int32_t open);
VUMPDF_API int32_t PrintBookMark(int32_t h, int32_t x, int32_t y, const char* text,
                                 int32_t level, int32_t open);
VUMPDF_API int32_t Annotation(int32_t h, int32_t x, int32_t y, const char* text, int32_t icon);
VUMPDF_API int32_t RubberStamp(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                               const char* text, int32_t stamp);

/* Form fields. kind: 0 push button, 1 edit box, 2 memo, 3 list box, 4 combo box, 5 check box,
   6 radio button (named "group.button"). text1 is the label, text2 the hint; styleName a paragraph
   style whose keys (Visible, ReadOnly, MaxLength, BorderColor, ...) give the defaults.
   PutField places the field at x1, y1 with width x2 and height y2 (0: the kind's default) on the
   current page; a radio group is written at the end of the page of its buttons and needs two.
   Properties (propId 0..20): Visible, ReadOnly, Required, Password, CanExport, CanPrint,
   AllowOutOfList, MaxLength, Alignment, BorderStyle, BorderColor, BorderWidth (0..5), CheckMark,
   LabelFontName, LabelFontSize, LabelFontColor, LabelFontBold, LabelFontItalic, LabelFontCharset,
   Items ("a|b|c"), Default. SetAction: byte1 the event (0 V, 1 E, 2 X, 3 F, 4 Fo, 5 K, 6 Bl, 7 D,
   8 U), byte2 the kind (0 link, 1 hide, 2 show, 3 submit, 4 reset, 5 import, 6 script). Properties
   and actions are frozen once the field is placed. */
VUMPDF_API int32_t DefineField(int32_t h, const char* name, int32_t kind, const char* text1,
                               const char* text2, const char* styleName);
VUMPDF_API int32_t PutField(int32_t h, const char* name, int32_t x1, int32_t y1, int32_t x2,
                            int32_t y2);
VUMPDF_API int32_t SetAction(int32_t h, const char* fieldName, int32_t byte1, int32_t byte2,
                             const char* text);
VUMPDF_API int32_t SetNumFieldProp(int32_t h, const char* fieldName, int32_t propId,
                                   int32_t value);
VUMPDF_API int32_t SetStrFieldProp(int32_t h, const char* fieldName, int32_t propId,
                                   const char* value);

#ifdef __cplusplus
}
#endif

#endif /* VUMPDF_H */
