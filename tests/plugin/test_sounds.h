// The sounds the plugin's tests play, made with the model and written as the program saves them.
#pragma once

#include <filesystem>
#include <string>

// A MIDI keyboard playing a sine (note 69 sounds at 440 Hz) on a mono speaker, with a title and
// a note on its panel that hold Latin-1 characters and a line break.
std::string KeyboardSineSound();

// Four audio constants from 0 to full scale (2048) with faders on the Panel tab, placed so that
// their reading order is "B", "A", "D", "C": "B" plays on the left of a stereo speaker, "A" on
// its right, "D" on a mono speaker (both channels), "C" nowhere.
std::string FaderSound();

// Writes `text` to `folder`/`name` and returns the path.
std::filesystem::path WriteSound(const std::filesystem::path& folder, const std::string& name,
                                 const std::string& text);
