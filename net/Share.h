#pragma once
// A share: what the owner of the line receives, sent to watchers as a recording (the format
// of core/Recording.h) that never ends. A record without bytes is a heartbeat: it tells a
// watcher that the owner is there while the processor is silent.

#include <cstdint>
#include <string>
#include <string_view>

#include "net/LinkProtocol.h"

namespace kestrova::share {

inline constexpr long kHeartbeatMs = 1000;
// A watcher that hears nothing for this long takes the owner for gone.
inline constexpr long kSilenceLimitMs = 3000;
// No record is longer; a longer read goes out as several.
inline constexpr std::size_t kMaxChunk = std::size_t{16} * 1024;
inline constexpr std::size_t kMaxGreeting = 256;

// The first line a watcher gets.
std::string Greeting(std::string_view note);
// A chunk the owner read, at `ms` on the share's clock.
std::string Chunk(std::int64_t ms, std::string_view bytes);
std::string Heartbeat(std::int64_t ms);

// The watcher's side: takes the records' bytes as the processor's data; sends nothing back.
class Reader : public LinkProtocol {
  public:
    void receive(std::string_view in, std::string& data, std::string& replies) override;
    std::string encode(std::string_view /*text*/) const override { return {}; }
    long silenceLimitMs() const override { return kSilenceLimitMs; }

  private:
    void readGreeting();
    void records(std::string& data);

    bool greeted_ = false;
    std::int64_t last_ = 0;  // the time of the last whole record
    std::string pending_;    // a greeting or a record not yet whole
};

}  // namespace kestrova::share
