// Discovery: one search request on every interface at once, and the replies that make the device table.
#include <algorithm>
#include <vector>

#include "device_protocol.h"
#include "drain.h"
#include "interface_loop.h"
#include "request_tag.h"

namespace quorvel {

namespace {

// A steady stream of replies that count no poll (foreign, broken or repeated ones) must not hold
// the search forever: each interface is left at the latest after twice its longest quiet wait.
constexpr std::int64_t kSearchDeadlineMicros =
    2LL * SEARCH_COUNTED_POLLS * SEARCH_POLL_MICROS;

// The search on one interface, with the rules of a search of that interface alone: drain, send its
// own request (its own tag) at once, then polls of SEARCH_POLL_MICROS until SEARCH_COUNTED_POLLS
// are counted or the deadline passes. The stop check is asked at each datagram of the drain, before
// the send and at each counted poll; a stop before the send means no request leaves at all.
// A poll ends with a datagram or with SEARCH_POLL_MICROS of quiet on this interface; a quiet one,
// a reply of a rejected model and a reply that makes a record are counted.
class InterfaceSearch final : public InterfaceTask {
 public:
  // tags: the tag of every interface's request of this search, this interface's at `index`.
  InterfaceSearch(Transport& transport, Clock& clock, int index, const StopCheck& stop,
                  const std::vector<ClientId>& tags, PendingTable& pending)
      : transport_(transport),
        clock_(clock),
        index_(index),
        stop_(stop),
        pending_(pending),
        tags_(tags),
        request_{OP_SEARCH, tags[static_cast<std::size_t>(index)], DeviceId{}},
        drain_(clock.NowMicros()) {}

  bool Done() const override { return phase_ == Phase::Done; }
  std::int64_t WakeAtMicros() const override {
    return phase_ == Phase::Draining ? drain_.WakeAtMicros() : pollStart_ + SEARCH_POLL_MICROS;
  }

  void OnDatagram(const Received& received, const PacketBuffer& buffer) override {
    if (phase_ == Phase::Draining) {
      if (Stopped() || drain_.Dropped(clock_.NowMicros())) Send();
      return;
    }
    if (Take(ReceivedBytes(received, buffer))) ++polls_;
    NextPoll();
  }

  void OnQuiet() override {
    if (phase_ == Phase::Draining) {
      Send();
      return;
    }
    ++polls_;
    NextPoll();
  }

  const std::vector<DeviceRecord>& found() const { return found_; }
  SearchStats& stats() { return stats_; }

 private:
  enum class Phase { Draining, Polling, Done };

  bool Stopped() const { return stop_ && stop_(); }

  // Ends the drain: the request leaves, unless a stop came first.
  void Send() {
    if (Stopped()) {
      phase_ = Phase::Done;
      return;
    }
    transport_.SendOnInterface(index_, request_.bytes());
    phase_ = Phase::Polling;
    pollStart_ = clock_.NowMicros();
    deadline_ = pollStart_ + kSearchDeadlineMicros;
  }

  void NextPoll() {
    pollStart_ = clock_.NowMicros();
    if (polls_ == SEARCH_COUNTED_POLLS || pollStart_ >= deadline_ || Stopped()) phase_ = Phase::Done;
  }

  // Whether the datagram carries the tag of another interface's request of this search: two PC
  // addresses on one link hear each other's requests and the replies to them.
  bool SiblingTagged(Bytes datagram) const {
    if (datagram.size() < HEADER_SIZE) return false;
    for (std::size_t i = 0; i < tags_.size(); ++i) {
      if (static_cast<int>(i) == index_) continue;
      if (std::equal(tags_[i].begin(), tags_[i].end(), reinterpret_cast<const std::uint8_t*>(datagram.data()) + HDR_CLIENT_ID)) {
        return true;
      }
    }
    return false;
  }

  // Judges one datagram; true when it counts a poll.
  bool Take(Bytes reply) {
    const ReplyVerdict verdict = request_.Judge(reply);
    if (verdict != ReplyVerdict::Valid) {
      // A reply to another address's request of this search is that address's to record; that
      // address's request itself is no reply at all.
      if (SiblingTagged(reply)) {
        if (verdict == ReplyVerdict::Foreign) ++stats_.sibling;
        else if (ReadU16(reply, HDR_MAGIC) != REQUEST_MAGIC) ++stats_.invalid;
        return false;
      }
      ++(verdict == ReplyVerdict::Foreign ? stats_.foreign : stats_.invalid);
      return false;
    }
    // The model is judged before the box is looked up: a known box that answers again with a
    // model not accepted counts a poll.
    if (!IsAcceptedModel(ReplyModel(reply))) {
      ++stats_.rejectedModel;
      return true;
    }
    // Only this interface's records are known here: a box that an earlier interface also finds
    // counts a poll on this one, where a search of one interface after another would drop it
    // uncounted. That can end this interface's wait sooner only when it comes near the cap of
    // counted polls, that is with about a hundred boxes answering on it.
    const DeviceId id = ReplyDeviceId(reply);
    const bool known = std::any_of(found_.begin(), found_.end(), [&](const DeviceRecord& r) { return r.id == id; });
    if (known) return false;
    found_.push_back(RecordFromReply(reply, index_));
    pending_.Accept(found_.back());
    return true;
  }

  Transport& transport_;
  Clock& clock_;
  const int index_;
  const StopCheck& stop_;
  PendingTable& pending_;
  const std::vector<ClientId>& tags_;
  const Request request_;
  Phase phase_ = Phase::Draining;
  DrainTimer drain_;
  std::int64_t pollStart_ = 0;
  std::int64_t deadline_ = 0;
  int polls_ = 0;
  std::vector<DeviceRecord> found_;
  SearchStats stats_;
};

}  // namespace

void DeviceProtocol::SearchDevices(const StopCheck& stop, const SearchProgress& progress) {
  ClearDeviceTable();
  PendingTable pending(progress);
  const int count = transport_->InterfaceCount();
  std::vector<ClientId> tags;
  for (int i = 0; i < count; ++i) tags.push_back(NewRequestTag());
  std::vector<InterfaceSearch> searches;
  searches.reserve(static_cast<std::size_t>(count));  // `served` points into it
  std::vector<ServedInterface> served;
  for (int i = 0; i < count; ++i) {
    served.push_back({i, &searches.emplace_back(*transport_, clock_, i, stop, tags, pending)});
  }
  ServeInterfaces(*transport_, clock_, served);
  // The table of a search of one interface after another: interface 0's boxes in arrival order,
  // then each later interface's boxes that no earlier one found.
  searchStats_.clear();
  for (InterfaceSearch& search : searches) {
    search.stats().answered = static_cast<int>(search.found().size());
    for (const DeviceRecord& record : search.found()) {
      if (IsKnownDevice(record.id)) continue;
      devices_.push_back(record);
      ++search.stats().boxes;
    }
    searchStats_.push_back(search.stats());
  }
}

}  // namespace quorvel
