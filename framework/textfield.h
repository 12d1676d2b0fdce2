#pragma once
// ITextField: the in-place text entry drawn by the framework itself, for window systems without an
// edit control of their own (X11). It behaves as the Win32 entry does: it opens with all its text
// selected, keeps only the characters the parameter accepts when typed, holds at most the
// control's entry length, and ends on Enter (commit) or Escape (cancel). Focus and clicks outside
// it are the glue's, as on Windows. Text is UTF-8; caret and selection count code points.
// Threads: the editor window's thread only.
#include <string>

#include "framework/guitypes.h"
#include "framework/promptkeys.h"
#include "raster/bitmap.h"

class IFxParam;
class IGraphics;

class ITextField {
public:
    enum Result { kNone, kCommit, kCancel };

    ITextField() = default;
    virtual ~ITextField() = default;
    ITextField(const ITextField&) = delete;
    ITextField& operator=(const ITextField&) = delete;

    // Starts editing text over rect (the entry's area grows by one pixel right and down, as the
    // Win32 entry window does). param (nullable) filters typed characters; maxLength <= 0 is no limit.
    void Open(const char* text, const IBounds& rect, const ITextStyle& style, const IFxParam* param = nullptr,
              int maxLength = 0);
    // A key: ch is the code point of kPromptKeyChar; shift extends the selection, ctrl moves by words.
    Result Key(int key, unsigned ch, bool shift, bool ctrl);
    // Replaces the selection with utf8 (a paste): control characters dropped, cut at the length limit.
    void Insert(const char* utf8);
    // The pointer pressed at, or dragged to, x (editor pixels): places the caret or extends the selection.
    void Press(int x);
    void Drag(int x);
    // One redraw tick of the editor: true when the caret blinked and the field needs painting.
    bool Tick();
    // Draws the field into the editor's surface.
    void Paint(IGraphics* g);

    const char* Text() const { return mUtf8.c_str(); }
    int Caret() const { return mCaret; }
    int SelectionStart() const { return mCaret < mAnchor ? mCaret : mAnchor; }
    int SelectionEnd() const { return mCaret < mAnchor ? mAnchor : mCaret; }
    // The area the field paints.
    IBounds Bounds() const { return mBounds; }

protected:
    // Width in pixels of the first `bytes` bytes of utf8 in the field's font (0 before the font is known).
    virtual int TextWidth(const char* utf8, int bytes);

private:
    // The pixel x of the boundary before code point i.
    int XOf(int i);
    int IndexAt(int x);
    void ScrollToCaret();
    void ReplaceSelection(const std::u32string& with);
    void MoveCaret(int to, bool extend);
    int WordEdge(int from, int step) const;
    void Changed();

    PIX_MemBitmap mScratch{0, 0};
    std::u32string mText;
    std::string mUtf8;
    IBounds mBounds;
    ITextStyle mStyle;
    const IFxParam* mParam = nullptr;
    int mMaxLength = 0;
    int mCaret = 0, mAnchor = 0;
    int mScroll = 0;  // pixels the text is shifted left to keep the caret in view
    int mBlink = 0;   // ticks since the caret last changed state
    bool mCaretOn = true;
};
