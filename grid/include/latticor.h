/*
 * latticor.h - the LATTICOR grid control's public interface.
 *
 * Load "Latticor.dll" (LoadLibraryA) to register the window class
 * "LATTICOR", then create grids with CreateWindowExA(.., "LATTICOR", ..,
 * WS_CHILD | ..., parent, (HMENU)id, ..). A grid is driven only with the
 * messages below and reports to its parent with the GN_ notifications.
 *
 * Cell addresses travel in wParam as GRID_CELL(column, row). Row 0 holds
 * the column titles and column 0 the row titles; (0, 0) is the corner.
 * Data cells are columns 1 .. count - 1 and rows 1 .. count - 1.
 *
 * 32-bit and 64-bit Windows: the same messages and numbers. On 64-bit,
 * wParam is 64 bits wide and its upper half must be 0: an index, a count
 * or a cell address with anything there is out of range, as any other
 * out-of-range value. Records with handles or addresses differ in size
 * (see each one).
 *
 * Usable from C and C++; needs nothing but <windows.h>.
 */
#ifndef LATTICOR_H
#define LATTICOR_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LATTICOR_CLASS_NAME "LATTICOR"
#define LATTICOR_LIBRARY_NAME "Latticor.dll"

/* wParam of the messages that address one cell. */
#define GRID_CELL(col, row) MAKEWPARAM((col), (row))

/* Limits of the grid's shape; counts include the title column (row). */
#define GRID_MIN_COUNT 2
#define GRID_MAX_COLS 254
#define GRID_MAX_ROWS 16382

/* Text-layout flags the grid gives the cells it creates. */
#define GRID_FORMAT_DEFAULT 8208 /* DT_EDITCONTROL | DT_WORDBREAK */
#define GRID_FORMAT_TITLE 37     /* DT_CENTER | DT_VCENTER | DT_SINGLELINE */

/* ---- Messages ---------------------------------------------------------
 * Each message's comment ends with its "Result:", clauses separated by ";"
 * and the usual answer first; "as GM_X" means GM_X's clauses. "repaints"
 * names what the grid invalidates. A refusal
 * is a message box with no owner, caption "Latticor" and button OK, after
 * which the message changes nothing; with GS_NOREFUSALBOX, no box shows and
 * the parent gets GN_REFUSED instead.                                     */

/* wParam colour (COLORREF). Grid-line colour; repaints all.
 * Result: TRUE. */
#define GM_SETGRIDCOLOR 1035
/* Result: the grid-line colour. */
#define GM_GETGRIDCOLOR 1036
/* wParam colour. Background outside the cells; repaints all with erasing.
 * Result: TRUE. */
#define GM_SETBKCOLOR 1037
/* Result: the background colour. */
#define GM_GETBKCOLOR 1038
/* wParam column 1 .. colCount - 1. Moves the current cell to that column
 * and the selection's end column with it. Sends GN_CELLLEAVING at once and
 * GN_CELLENTERED from the next paint; nothing when the column is already
 * current. Out of range: refused with "Invalid number of column.".
 * Result: TRUE; 0 when the column is already current; IDOK after a refusal
 * box; 0 after a refusal with GS_NOREFUSALBOX. */
#define GM_SETCURCOL 1039
/* Result: the current cell's column. */
#define GM_GETCURCOL 1040
/* wParam row 1 .. rowCount - 1. As GM_SETCURCOL for rows ("Invalid number
 * of row.").
 * Result: TRUE; 0 when the row is already current; IDOK after a refusal
 * box; 0 after a refusal with GS_NOREFUSALBOX. */
#define GM_SETCURROW 1041
/* Result: the current cell's row. */
#define GM_GETCURROW 1042
/* wParam 2 .. 254. Sets the number of columns and empties every cell,
 * titles included. Out of range: refused.
 * Result: TRUE; 0 when memory runs out, nothing changed; IDOK after a
 * refusal box; 0 after a refusal with GS_NOREFUSALBOX. */
#define GM_SETCOLCOUNT 1043
/* Result: the number of columns, title column included. */
#define GM_GETCOLCOUNT 1044
/* wParam 2 .. 16382. Sets the number of rows; rows that stay keep their
 * cells. Out of range: refused.
 * Result: as GM_SETCOLCOUNT. */
#define GM_SETROWCOUNT 1045
/* Result: the number of rows, title row included. */
#define GM_GETROWCOUNT 1046
/* wParam column (0 = title column), lParam width in pixels, at any DPI. A
 * width wider than the client area less the title column and 5 pixels (at
 * 96 DPI; scaled by the window's DPI / 96) is cut to that.
 * Repaints all.
 * Result: TRUE; 0 for a negative width or a column beyond 255, which
 * change nothing. */
#define GM_SETCOLWIDTH 1047
/* wParam column.
 * Result: its width; 0 for a column beyond 255. */
#define GM_GETCOLWIDTH 1048
/* wParam row (0 = title row), lParam height. As GM_SETCOLWIDTH.
 * Result: TRUE; 0 for a negative height or a row beyond 16383, which change
 * nothing. */
#define GM_SETROWHEIGHT 1051
/* wParam row.
 * Result: its height; 0 for a row beyond 16383. */
#define GM_GETROWHEIGHT 1052
/* wParam column 1 .. colCount - 1: the selection's other corner. No
 * notification. Out of range: refused with "Invalid number of column.".
 * Result: TRUE; IDOK after a refusal box; 0 after a refusal with
 * GS_NOREFUSALBOX. */
#define GM_SETSELENDCOL 1055
/* Result: the selection's end column. */
#define GM_GETSELENDCOL 1056
/* wParam row 1 .. rowCount - 1. As GM_SETSELENDCOL for rows ("Invalid
 * number of row.").
 * Result: as GM_SETSELENDCOL. */
#define GM_SETSELENDROW 1057
/* Result: the selection's end row. */
#define GM_GETSELENDROW 1058
/* wParam column 1 .. colCount - 1: the first data column shown. Scrolls
 * there and sends GN_SCROLLED; a column outside is ignored.
 * Result: the parent's answer to GN_SCROLLED; 0 for a column outside. */
#define GM_SETFIRSTCOL 1059
/* Result: the first data column shown. */
#define GM_GETFIRSTCOL 1060
/* wParam row 1 .. rowCount - 1: the first data row shown. As
 * GM_SETFIRSTCOL.
 * Result: the parent's answer to GN_SCROLLED; 0 for a row outside. */
#define GM_SETFIRSTROW 1061
/* Result: the first data row shown. */
#define GM_GETFIRSTROW 1062
/* wParam GRID_CELL, lParam HFONT (0 = the font selected at paint time).
 * The font stays the caller's. Repaints the cell.
 * Result: TRUE; 0 for a cell outside the grid. */
#define GM_SETCELLFONT 1063
/* wParam GRID_CELL.
 * Result: the cell's font; 0 for a cell outside the grid. */
#define GM_GETCELLFONT 1064
/* wParam GRID_CELL, lParam COLORREF text colour. Repaints the cell.
 * Result: as GM_SETCELLFONT. */
#define GM_SETCELLCOLOR 1065
/* wParam GRID_CELL.
 * Result: the cell's text colour; 0 for a cell outside the grid. */
#define GM_GETCELLCOLOR 1066
/* wParam GRID_CELL, lParam DrawTextA flags (DT_*). The text is drawn from
 * a copy: DT_MODIFYSTRING never changes it. Repaints the cell.
 * Result: as GM_SETCELLFONT. */
#define GM_SETCELLFORMAT 1067
/* wParam GRID_CELL.
 * Result: the cell's DrawTextA flags; 0 for a cell outside the grid. */
#define GM_GETCELLFORMAT 1068
/* wParam GRID_CELL, lParam zero-terminated text, copied by the grid. Texts
 * are in the process's ANSI code page: UTF-8 under a manifest that asks for
 * it (docs/embedding.md, "Unicode"). Repaints the cell.
 * Result: TRUE; 0 for a cell outside the grid or no text; 0 when memory
 * runs out, the old text staying. */
#define GM_SETCELLTEXT 1069
/* wParam GRID_CELL, lParam buffer that receives the text and its zero; it
 * must be large enough: ask GM_GETCELLTEXTLENGTH first, or copy bounded
 * with GM_GETCELLTEXTN.
 * Result: the text's length, without its zero; 0 for a cell outside the
 * grid or no buffer, the buffer left as it was. */
#define GM_GETCELLTEXT 1070
/* wParam 0 or 1: resizing columns and rows by mouse off or on. Gaining the
 * focus turns it on again.
 * Result: 0. */
#define GM_ENABLERESIZE 1081
/* wParam 0 or 1: selecting with the mouse and showing the selection off or
 * on. Repaints at once.
 * Result: TRUE. */
#define GM_ENABLESELECT 1082
/* wParam buffer holding a zero-terminated string (empty as a rule), at
 * least GM_GETCOPYSIZE bytes: the selection is appended as text, cells
 * separated by TAB, each row ended by CR LF.
 * Result: TRUE; 0 for no buffer. */
#define GM_COPYSEL 1086
/* wParam zero-terminated text in the GM_COPYSEL format. Stores it from the
 * top-left selected cell, every field whole: a single selected cell takes
 * any block that fits the grid, a larger selection only a block of its own
 * shape; anything else is refused with a warning box (MB_ICONWARNING).
 * Result: TRUE; 0 for no text; 0 when memory runs out, a field that could
 * not be stored leaving its cell as it was; IDOK after a refusal box; 0
 * after a refusal with GS_NOREFUSALBOX. */
#define GM_PASTE 1087
/* Result: the bytes GM_COPYSEL writes for the selection, the zero
 * included. */
#define GM_GETCOPYSIZE 1088
/* wParam row 1 .. rowCount - 1 before which a row goes; 0 appends. The new
 * cells are centred on one line (GRID_FORMAT_TITLE). Refused at 16382 rows
 * and for a row beyond the last ("Invalid number of row.",
 * MB_ICONEXCLAMATION).
 * Result: TRUE; 0 when memory runs out, nothing changed; IDOK after a
 * refusal box; 0 after a refusal with GS_NOREFUSALBOX. */
#define GM_INSERTROW 1089
/* wParam row 1 .. rowCount - 1 to remove; 0 removes the last. Scrolls up a
 * row when it can. Refused at 2 rows and for a row beyond the last.
 * Result: the parent's answer to the last GN_SCROLLED; IDOK after a
 * refusal box; 0 after a refusal with GS_NOREFUSALBOX. */
#define GM_DELETEROW 1090
/* wParam printer HDC (no document started), lParam GridPrintRange*. Prints
 * the range on one page at the cells' screen positions.
 * Result: EndDoc's result; 0 for no range or a range wholly outside the
 * grid, which prints nothing. */
#define GM_PRINT 1092
/* wParam first column, lParam last column.
 * Result: the sum of their widths, the first column's alone when lParam <
 * wParam. */
#define GM_SUMCOLWIDTHS 1093
/* wParam first row, lParam last row. As GM_SUMCOLWIDTHS for heights.
 * Result: the sum of their heights, the first row's alone when lParam <
 * wParam. */
#define GM_SUMROWHEIGHTS 1094
/* Sent by the holder for its WM_SIZING: from then on the grid's resizes
 * leave its data cells unrepainted, until a resize finds the holder
 * maximised or minimised.
 * Result: 0. */
#define GM_SIZING 1095
/* wParam GridCell* that receives a copy of the current cell, lParam RECT*
 * that receives its rectangle (client pixels, with its right and bottom
 * grid lines). The text address stays the grid's: valid until that cell's
 * text is set again.
 * Result: GRID_CELL(curCol, curRow); 0 for a null pointer. */
#define GM_GETCURCELL 1096
/* Result: the last column whose left edge was at or left of the client
 * area's right edge at the last paint. */
#define GM_GETLASTCOL 1097
/* Result: the last row whose top edge was at or above the client area's
 * bottom edge at the last paint. */
#define GM_GETLASTROW 1098
/* wParam GRID_CELL.
 * Result: the length of the cell's text, without its zero; 0 for a cell
 * outside the grid. */
#define GM_GETCELLTEXTLENGTH 1099
/* wParam GRID_CELL, lParam GridTextBuffer*: copies at most size - 1 bytes
 * of the cell's text and a zero into the buffer (for a cell outside the
 * grid, the empty string).
 * Result: the bytes copied, without the zero; 0 for size 0 or no record or
 * buffer, which writes nothing. */
#define GM_GETCELLTEXTN 1100
/* wParam the mask of the extended-style bits to change (0: all of them),
 * lParam their new values (GS_EX_*). Bits this version does not define are
 * dropped: never stored, never answered.
 * Result: the extended style before the change. */
#define GM_SETEXSTYLE 1102
/* Result: the extended style; 0 for a new grid. */
#define GM_GETEXSTYLE 1103
/* wParam GRID_CELL of a data cell, or 0 for the current cell; lParam the
 * text to start with, or NULL for the cell's own text. Opens the in-place
 * editor, whatever the extended style: makes the cell current (as a press
 * on it does, with GN_CELLLEAVING and GN_CELLENTERED), scrolls it into
 * view, sends GN_BEGINEDIT, then shows the editor over the cell with the
 * keyboard focus and the caret after the text. An edit already open is
 * committed first.
 * Result: the editor's window; NULL for a cell that is not a data cell, or
 * when GN_BEGINEDIT refused the edit. */
#define GM_EDITCELL 1104
/* wParam TRUE commits the open edit, FALSE cancels it (see GN_ENDEDIT).
 * Result: TRUE when an edit was open; 0 when none was. */
#define GM_ENDEDIT 1105
/* Result: the open editor's window; NULL when no edit is open. */
#define GM_GETEDITWINDOW 1106
/* Takes back the last change the user made through the grid (a committed
 * edit, a value set by a screen reader, Delete, cut, a paste by keys):
 * every text it changed comes back byte for byte; the block it restored is
 * selected, scrolled into view and repainted, and GN_CELLSCHANGED sent. The
 * history keeps at least 100 steps and at most 32 MiB of texts, the oldest
 * going first; a single larger change is not recorded and empties it. Any
 * change made by a message (GM_SETCELLTEXT, GM_PASTE, the counts, row
 * insertion and deletion) empties it too. An open edit is committed first.
 * Result: TRUE when a step was undone; 0 when there was none, or memory ran
 * out and nothing changed. */
#define GM_UNDO 1111
/* Does again the step GM_UNDO took back last, as GM_UNDO does it. A new
 * change after an undo drops what could be redone.
 * Result: TRUE when a step was redone; 0 when there was none, or memory ran
 * out and nothing changed. */
#define GM_REDO 1112
/* Result: bit 0 set when a step can be undone, bit 1 when one can be
 * redone. */
#define GM_CANUNDO 1113
/* Forgets the history of the user's changes.
 * Result: 0. */
#define GM_EMPTYUNDO 1114

/* ---- Notifications to the parent --------------------------------------
 * "id" is the grid's identifier whole, as CreateWindowEx got it (on 64-bit
 * the full HMENU value). "word" is MAKEWPARAM(MK_* flags of the mouse
 * message, LOWORD(id)): its upper half on 64-bit is 0, whatever the id.   */

#define GN_LBUTTONDOWN 1071 /* posted; wParam word, lParam x | y << 16     */
#define GN_LBUTTONUP 1072   /* posted; wParam word, lParam x | y << 16     */
#define GN_MOUSEMOVE 1073   /* posted; wParam word, lParam x | y << 16     */
#define GN_KEYDOWN 1074     /* posted; wParam virtual key, lParam id       */
#define GN_KEYUP 1075       /* posted; wParam virtual key, lParam id       */
#define GN_CELLENTERED 1076 /* sent; wParam id: the current cell has moved */
#define GN_CELLLEAVING 1077 /* sent; wParam id: it is about to move        */
#define GN_SCROLLED 1078    /* sent; wParam id, lParam 1 vertical, 2 horiz. */
#define GN_PAINT 1080       /* sent; wParam id, lParam HDC being painted   */
#define GN_DBLCLK 1083      /* posted; wParam word, lParam x | y << 16     */
#define GN_SETFOCUS 1084    /* sent; wParam id                             */
#define GN_KILLFOCUS 1085   /* sent; wParam id                             */
#define GN_CONTEXTMENU 1091 /* posted; wParam id, lParam screen x | y << 16 */
#define GN_REFUSED 1101     /* sent; wParam id, lParam the refused message */
/* An edit is about to open: lParam const GridEdit*, the cell and the text
 * the editor starts with. A nonzero answer prevents the edit. Sent. */
#define GN_BEGINEDIT 1107
/* An edit that opened has ended and its editor has gone: lParam const
 * GridEdit*, the cell and the edited text, or text NULL when the edit was
 * cancelled. A nonzero answer refuses the text: the cell keeps what it
 * holds then (a parent that stores a normalised text sets it with
 * GM_SETCELLTEXT and answers nonzero). Sent once for every edit that
 * opened; never when the grid is destroyed with an edit open. */
#define GN_ENDEDIT 1108
/* The user changed texts through the grid (a committed edit, a value set by
 * a screen reader, Delete, cut, a paste by keys, GM_UNDO and GM_REDO):
 * lParam const GridRange*, the block, ends included. Texts set by messages
 * (GM_SETCELLTEXT, GM_PASTE) send nothing. Sent. */
#define GN_CELLSCHANGED 1109
/* With GS_EX_SELCHANGE only: the current cell or the selection's other
 * corner has changed, whatever changed it (mouse, keys, messages, a count
 * that shrank); lParam const GridRange*, the selection, ordered. Sent once
 * a change, never when nothing changed. */
#define GN_SELCHANGED 1110

/* ---- Window styles of the grid (the control's low word) ----------------- */

/* Refusals show no message box: the message returns 0 and the parent gets
 * GN_REFUSED, to report it its own way. For programs without a user at the
 * screen: automation, services, tests. */
#define GS_NOREFUSALBOX 0x0001

/* ---- Extended styles (GM_SETEXSTYLE) -----------------------------------
 * Off in a new grid: a program that sets none of them gets the grid as it
 * always was.                                                             */

/* The user edits cells in place: F2, a double click on a data cell, a typed
 * character (which replaces the text) or Backspace (which starts empty)
 * opens the editor on the current cell. In the editor, Enter commits and
 * moves a row down (Shift+Enter up), Tab a column right (Shift+Tab left),
 * Escape cancels; the arrows move the caret, except in an edit begun by
 * typing, where they commit and move as in the grid. A click on the grid,
 * its scroll bars, the focus leaving, and the messages that move the
 * current cell, change sizes or counts, insert or delete rows, or paste
 * commit the edit first. Screen readers may set data cells' values. */
#define GS_EX_EDIT 0x0001
/* The keys of a spreadsheet. The current cell moves, is scrolled into
 * view, and with Shift the selection's other corner moves instead: Home and
 * End to column 1 and the last column of the row, Ctrl+Home to (1, 1),
 * Ctrl+End to the last column and row holding text, Ctrl+arrows to the end
 * of the run of texts (or the next text, or the edge), Page Up and Page Down
 * by the rows shown, scrolling as far. Tab and Shift+Tab move a column,
 * Enter and Shift+Enter a row, without wrapping. The plain arrows also
 * collapse the selection to the new current cell. Ctrl+A selects all;
 * Ctrl+C / Ctrl+Insert copy the selection to the clipboard (CF_UNICODETEXT
 * and CF_TEXT), Ctrl+X / Shift+Delete cut it, Ctrl+V / Shift+Insert paste the
 * clipboard by GM_PASTE's rules and refusals, Delete clears the selected
 * texts, Ctrl+Z undoes, Ctrl+Y / Ctrl+Shift+Z redo (see GM_UNDO). */
#define GS_EX_SHEETKEYS 0x0002
/* GN_SELCHANGED after every change of the selection. */
#define GS_EX_SELCHANGE 0x0004

/* ---- Accessibility ----------------------------------------------------
 * WM_GETOBJECT with OBJID_CLIENT answers an IAccessible for the grid (a
 * table), with lParam UiaRootObjectId a UI Automation provider (a
 * DataGrid); see docs/accessibility.md. The grid object's children are
 * its rows, title row first; each row's children are its cells, title
 * cells included. Child ids on the grid object name every row and cell,
 * for a grid of `cols` columns and `rows` rows (GM_GETCOLCOUNT,
 * GM_GETROWCOUNT, titles included): 0 the grid itself, then the rows,
 * then the cells row by row. A row object numbers its cells col + 1.
 * Ids change with the counts; the grid then sends EVENT_OBJECT_REORDER.  */
#define GRID_ACC_ROW_ID(row) ((LONG)(row) + 1)
#define GRID_ACC_CELL_ID(col, row, cols, rows) ((LONG)(rows) + 1 + (LONG)(row) * (LONG)(cols) + (LONG)(col))

/* What GM_GETCURCELL copies: one cell as the grid stores it. 16 bytes on
 * 32-bit Windows; 24 on 64-bit, where the font handle and the text address
 * are 8 bytes each (the text at offset 16). */
typedef struct GridCell {
  HFONT cellFont;     /* 0: drawn in the font selected at that moment */
  COLORREF textColor;
  UINT format;        /* DrawTextA flags */
  LPSTR text;         /* the grid's own block; do not write through it */
} GridCell;

/* GM_GETCELLTEXTN's buffer: its address and its size in bytes. The record
 * is 8 bytes on 32-bit Windows and 16 on 64-bit Windows. */
typedef struct GridTextBuffer {
  LPSTR text;
  UINT size;
} GridTextBuffer;

/* GM_PRINT's request: the range of cells, ends included, and the scale;
 * 20 bytes on either. */
typedef struct GridPrintRange {
  UINT colFrom;
  UINT colTo;
  UINT rowFrom;
  UINT rowTo;
  UINT percent; /* 100 prints at the size shown on the screen */
} GridPrintRange;

/* GN_BEGINEDIT's and GN_ENDEDIT's record: the data cell and a text of the
 * grid's, valid while the notification runs. 12 bytes on 32-bit Windows
 * and 16 on 64-bit Windows. */
typedef struct GridEdit {
  UINT col;
  UINT row;
  LPCSTR text;
} GridEdit;

/* A block of cells, ends included, from the smaller to the larger: 16 bytes
 * on either. */
typedef struct GridRange {
  UINT colFrom;
  UINT colTo;
  UINT rowFrom;
  UINT rowTo;
} GridRange;

/* The library's exports (the class needs none of them). */
HBITMAP WINAPI GetBmp(void);              /* new 20 x 20 toolbox picture */
LPCSTR WINAPI GetGrid_ClassName(void);    /* "LATTICOR" */
UINT WINAPI GetID(void);                  /* 258, the picture's resource */

#ifdef __cplusplus
}
#endif

#endif /* LATTICOR_H */
