// The sound's text in the plugin's state. Sound files hold Latin-1 bytes (0xA2 and 0xA5 stand for
// a line feed and a carriage return), while a state's atom:String is UTF-8, which hosts write into
// Turtle files that refuse anything else: so the text goes into the state as UTF-8 and comes back
// as Latin-1.
#pragma once

#include <string>
#include <string_view>

std::string StateTextOfSound(std::string_view sound);

// Characters beyond Latin-1 become '?', as in text typed into the program. A text that is no
// UTF-8 (a host that kept the bytes of an older state) is taken as Latin-1 as it stands.
std::string SoundOfStateText(std::string_view text);
