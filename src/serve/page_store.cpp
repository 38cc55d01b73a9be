#include "serve/page_store.h"

#include <utility>

namespace tunora {

class PageStore::Seat final : public EventSeat {
 public:
  explicit Seat(PageStore& store) : store_(store) {}
  ~Seat() override {
    const std::lock_guard lock(store_.mutex_);
    --store_.seatsTaken_;
  }

 private:
  PageStore& store_;
};

PageStore::PageStore(std::string firstPage, std::size_t maxEventClients)
    : page_(std::make_shared<const ServedPage>(ServedPage{0, std::move(firstPage)})),
      maxSeats_(maxEventClients) {}

void PageStore::publish(std::uint64_t version, std::string html, ServedCovers covers) {
  {
    const std::lock_guard lock(mutex_);
    page_ = std::make_shared<const ServedPage>(ServedPage{version, std::move(html)});
    previousCovers_ = std::exchange(covers_, std::move(covers));
  }
  changed_.notify_all();
}

void PageStore::close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

std::shared_ptr<const ServedPage> PageStore::page() const {
  const std::lock_guard lock(mutex_);
  return page_;
}

std::shared_ptr<const ServedCover> PageStore::cover(std::string_view name) const {
  const std::lock_guard lock(mutex_);
  for (const ServedCovers* covers : {&covers_, &previousCovers_})
    if (const auto found = covers->find(name); found != covers->end()) return found->second;
  return nullptr;
}

std::unique_ptr<EventSeat> PageStore::takeEventSeat() {
  const std::lock_guard lock(mutex_);
  if (closed_ || seatsTaken_ >= maxSeats_) return nullptr;
  ++seatsTaken_;
  return std::make_unique<Seat>(*this);
}

std::optional<std::uint64_t> PageStore::waitForVersion(std::uint64_t seen,
                                                       std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  const bool differs =
      changed_.wait_for(lock, timeout, [&] { return closed_ || page_->version != seen; });
  if (!differs || closed_) return std::nullopt;
  return page_->version;
}

bool PageStore::closed() const {
  const std::lock_guard lock(mutex_);
  return closed_;
}

}  // namespace tunora
