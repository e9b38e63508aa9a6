// Text constants shared by the protocol, the about box and the printed graph.
#pragma once

// Charset declaration at the head of every HTML text the program shows.
inline constexpr const char* htmlCharsetMeta =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">";
