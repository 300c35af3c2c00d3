// The sound file of an empty sound with one text panel item, exactly as it is written: leaves
// before blocks, keys in byte order, and a blank after the empty type names.
#pragma once

inline constexpr char kWorkedExampleSound[] =
    "CountVoices 1\n"
    "BEGIN ViewSound \n"
    "ActiveWindow 1\n"
    "Title \"Sound1\"\n"
    "Visible 1\n"
    "WindowState 0\n"
    "BEGIN ModuleList \n"
    "BEGIN ViewText ViewText\n"
    "Marked 0\n"
    "Text \"\"\n"
    "Title \" Text\"\n"
    "BEGIN Rect \n"
    "Bottom 75\n"
    "Left 16\n"
    "Right 104\n"
    "Top 24\n"
    "END\n"
    "END\n"
    "END\n"
    "BEGIN Rect \n"
    "Bottom 400\n"
    "Left 0\n"
    "Right 600\n"
    "Top 0\n"
    "END\n"
    "END\n"
    "END\n";
