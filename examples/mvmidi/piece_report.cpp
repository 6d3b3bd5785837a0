#include "piece_report.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace mvmidi {

using namespace MorvaneMidiSystem;

namespace {

constexpr std::uint32_t kDefaultTempo = 500000;

std::string hex(std::uint8_t byte) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x", byte);
  return text;
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// Seconds from tick 0 to Tick under the piece's tempo map; with truncate,
// whole milliseconds per beat as the player counts them.
double secondsTo(const TMorvaneMidiData& data, std::uint32_t tick, bool truncate) {
  if (data.Division <= 0) return 0.0;
  double seconds = 0.0;
  std::uint32_t tempo = kDefaultTempo, at = 0;
  const auto beatSeconds = [&](std::uint32_t t) {
    const std::uint32_t us = std::max<std::uint32_t>(t, 1000);
    const std::uint32_t wholeMs = us / 1000;  // truncation intended
    return truncate ? static_cast<double>(wholeMs) / 1000.0 : us / 1e6;
  };
  for (const auto& event : data.MetaEvents) {
    if (event.Type != kMetaTempo) continue;
    if (event.Time >= tick) break;
    seconds += (event.Time - at) * beatSeconds(tempo) / data.Division;
    at = event.Time;
    tempo = event.Value;
  }
  return seconds + (tick - at) * beatSeconds(tempo) / data.Division;
}

void printTexts(std::ostream& out, const char* title, const TStringList& texts) {
  out << title << ": " << texts.Count() << "\n";
  for (const auto& text : texts) out << "  " << text << "\n";
}

void printMeta(std::ostream& out, const char* title, const TMorvaneMidiData& data, std::uint8_t type) {
  const auto count = std::count_if(data.MetaEvents.begin(), data.MetaEvents.end(),
                                   [type](const TMetaEvent& event) { return event.Type == type; });
  out << title << ": " << count << "\n";
  for (const auto& event : data.MetaEvents) {
    if (event.Type == type) out << "  " << event.Time << "  " << event.Text << "\n";
  }
}

}  // namespace

double PlayedSeconds(const TMorvaneMidiData& data) { return secondsTo(data, data.Length, true); }

void PrintInfo(std::ostream& out, const TMorvaneMidiData& data, std::uint32_t Tracks) {
  out << "format: " << data.Format << "\n";
  out << "tracks: " << Tracks << "\n";
  out << "division: " << data.Division << " ticks per quarter note\n";
  out << "length: " << data.Length << " ticks, " << fixed(secondsTo(data, data.Length, false), 3) << " s\n";
  if (data.TimeSigDenominator < 32) {
    out << "time signature: " << data.TimeSigNumerator << "/" << (1u << data.TimeSigDenominator) << ", "
        << data.TimeSigClocks << " clocks per click\n";
  }
  out << "events: " << data.ShortMessages.size() << " channel, " << data.LongMessages.size()
      << " system exclusive, " << data.MetaEvents.size() << " meta\n";
  const auto tempos = std::count_if(data.MetaEvents.begin(), data.MetaEvents.end(),
                                    [](const TMetaEvent& event) { return event.Type == kMetaTempo; });
  out << "tempo changes: " << tempos << "\n";
  for (const auto& event : data.MetaEvents) {
    if (event.Type != kMetaTempo) continue;
    const double bpm = event.Value > 0 ? 60e6 / event.Value : 0.0;
    out << "  " << event.Time << "  " << event.Value << " us per quarter note (" << fixed(bpm, 2)
        << " bpm)\n";
  }
  printMeta(out, "markers", data, kMetaMarker);
  printMeta(out, "cue points", data, kMetaCuePoint);
  printTexts(out, "texts", data.Texts);
  printTexts(out, "copyrights", data.Copyrights);
  printTexts(out, "track names", data.TrackNames);
}

void PrintDump(std::ostream& out, const TMorvaneMidiData& data) {
  for (const auto& message : data.ShortMessages) {
    out << "S " << message.Time << " " << hex(message.Status) << " " << hex(message.Data1) << " "
        << hex(message.Data2) << "\n";
  }
  for (const auto& message : data.LongMessages) {
    out << "L " << message.Time;
    for (std::uint8_t byte : message.Data) out << " " << hex(byte);
    out << "\n";
  }
  for (const auto& event : data.MetaEvents) {
    out << "M " << event.Time << " " << hex(event.Type) << " " << event.Value << " " << event.Text << "\n";
  }
}

}  // namespace mvmidi
