#pragma once
// How a property's value is held in form files and shown: the kinds of value the designer knows.

// A JSON number, boolean or string, or a colour as text: a framework colour (TCVColor) or a
// toolkit colour (ShadowColor).
enum class ValueKind { Integer, Boolean, String, FrameworkColor, ToolkitColor, Unsupported };
