#pragma once
// The keys the framework-drawn prompts (ITextField, IMenuView) take, translated by the window
// system's glue from its own key codes.
enum IPromptKey {
    kPromptKeyNone,
    kPromptKeyLeft,
    kPromptKeyRight,
    kPromptKeyUp,
    kPromptKeyDown,
    kPromptKeyHome,
    kPromptKeyEnd,
    kPromptKeyBackspace,
    kPromptKeyDelete,
    kPromptKeyEnter,
    kPromptKeyEscape,
    kPromptKeyChar,       // a typed character, given as a Unicode code point beside the key
    kPromptKeySelectAll,  // Ctrl+A
};
