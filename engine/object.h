// Identity block, editor geometry and the ordered owning list shared by every
// engine object, plus the random id rule.
#pragma once

#include <atomic>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "algo/platform.h"

namespace zor2 {

struct CRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const CRect&) const = default;
};

struct CPoint {
    int32_t x = 0, y = 0;
    bool operator==(const CPoint&) const = default;
};

/// Editor geometry is worked out in 64 bits and kept in the int32 range, so a
/// stored coordinate at either end of that range cannot overflow a box.
inline int32_t ClampCoordinate(int64_t v) {
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

/// Node kind tag of components.
inline constexpr int32_t kNodeKindComponent = 4;

/// Counts the changes of wiring in the whole process: connections made or
/// removed, ports, components and list members added or taken out, references
/// rebuilt. What caches a pointer along a connection or a module's compiled
/// cycle holds it only while the count stays the same. Process-wide, since
/// ports and connections move between systems (undo swaps).
inline std::atomic<uint64_t> g_wiringGeneration{1};
inline uint64_t WiringGeneration() {
    return g_wiringGeneration.load(std::memory_order_relaxed);
}
inline void NoteWiringChange() {
    g_wiringGeneration.fetch_add(1, std::memory_order_relaxed);
}

/// Identity block: every component, port, connection, module, system port,
/// category and catalogue entry starts with it.
class CObject {
  public:
    virtual ~CObject() = default;
    int32_t m_id = 0;
    int32_t m_nodeKind = 0;
    bool m_selected = false;
};

/// Ordered list that owns its members: append at the tail, remove by id or
/// pointer, iterate head to tail. Order is creation or load order.
template <class T>
class CObList {
  public:
    using Ptr = std::unique_ptr<T>;

    class Iterator {
      public:
        using Base = typename std::vector<Ptr>::const_iterator;
        using iterator_category = std::forward_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T* const*;
        using reference = T*;
        Iterator() = default;
        explicit Iterator(Base it) : m_it(it) {}
        T* operator*() const { return m_it->get(); }
        Iterator& operator++() {
            ++m_it;
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++m_it;
            return old;
        }
        bool operator!=(const Iterator& o) const { return m_it != o.m_it; }
        bool operator==(const Iterator& o) const { return m_it == o.m_it; }

      private:
        Base m_it;
    };

    T* Append(Ptr p) {
        NoteWiringChange();
        m_items.push_back(std::move(p));
        return m_items.back().get();
    }
    /// First member whose id equals `id`; an id below 1 never matches.
    T* Find(int32_t id) const {
        if (id < 1) return nullptr;
        for (const auto& p : m_items)
            if (p->m_id == id) return p.get();
        return nullptr;
    }
    bool HasId(int32_t id) const { return Find(id) != nullptr; }
    int IndexOf(const T* p) const {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].get() == p) return static_cast<int>(i);
        return -1;
    }
    /// Takes a member out of the list without destroying it.
    Ptr Detach(const T* p) {
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if (it->get() == p) {
                NoteWiringChange();
                Ptr out = std::move(*it);
                m_items.erase(it);
                return out;
            }
        }
        return nullptr;
    }
    bool Remove(const T* p) { return Detach(p) != nullptr; }
    bool RemoveId(int32_t id) { return Remove(Find(id)); }
    void Clear() {
        NoteWiringChange();
        m_items.clear();
    }

    size_t Size() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    T* Head() const { return m_items.empty() ? nullptr : m_items.front().get(); }
    T* Tail() const { return m_items.empty() ? nullptr : m_items.back().get(); }
    T* At(size_t i) const { return i < m_items.size() ? m_items[i].get() : nullptr; }
    /// A copy of the member pointers, for walks that remove members.
    std::vector<T*> Snapshot() const {
        std::vector<T*> out;
        out.reserve(m_items.size());
        for (const auto& p : m_items) out.push_back(p.get());
        return out;
    }
    void Reserve(size_t n) { m_items.reserve(n); }

    Iterator begin() const { return Iterator(m_items.begin()); }
    Iterator end() const { return Iterator(m_items.end()); }

  private:
    std::vector<Ptr> m_items;
};

/// Non-owning list of references (selections, category members).
template <class T>
class CRefList {
  public:
    void Append(T* p) { m_items.push_back(p); }
    bool Remove(const T* p) {
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if (*it == p) {
                m_items.erase(it);
                return true;
            }
        }
        return false;
    }
    bool Contains(const T* p) const {
        for (T* q : m_items)
            if (q == p) return true;
        return false;
    }
    void Clear() { m_items.clear(); }
    size_t Size() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    T* Head() const { return m_items.empty() ? nullptr : m_items.front(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    const std::vector<T*>& Items() const { return m_items; }

  private:
    std::vector<T*> m_items;
};

/// Draws a random id that no member of `list` has. Returns 0 when every id
/// 1..31999 is taken, instead of drawing forever.
template <class List>
int32_t DrawFreeId(IRandomSource& random, const List& list) {
    if (list.Size() >= static_cast<size_t>(kMaxDrawnId)) {
        std::bitset<kMaxDrawnId + 1> taken;
        size_t distinct = 0;
        for (auto* p : list) {
            if (p->m_id >= 1 && p->m_id <= kMaxDrawnId && !taken[p->m_id]) {
                taken[p->m_id] = true;
                ++distinct;
            }
        }
        if (distinct >= static_cast<size_t>(kMaxDrawnId)) return 0;
    }
    for (;;) {
        const int32_t id = IdFromDraw(random.Next15() & 0x7FFF);
        if (!list.HasId(id)) return id;
    }
}

/// The ids 1..31999 still free in one list, kept while many members are added
/// at once (an import), so that each draw checks an id in constant time.
class CFreeIds {
  public:
    template <class List>
    explicit CFreeIds(const List& list) {
        for (auto* p : list) Take(p->m_id);
    }
    void Take(int32_t id) {
        if (id >= 1 && id <= kMaxDrawnId && !m_taken[static_cast<size_t>(id)]) {
            m_taken[static_cast<size_t>(id)] = true;
            ++m_takenCount;
        }
    }
    /// Draws by the same rule as DrawFreeId (redrawn while taken) and takes
    /// the id; 0 when none is free.
    int32_t Draw(IRandomSource& random) {
        if (m_takenCount >= kMaxDrawnId) return 0;
        for (;;) {
            const int32_t id = IdFromDraw(random.Next15() & 0x7FFF);
            if (!m_taken[static_cast<size_t>(id)]) {
                Take(id);
                return id;
            }
        }
    }

  private:
    std::bitset<kMaxDrawnId + 1> m_taken;
    int32_t m_takenCount = 0;
};

/// The id rule for a plain list of records with an `m_id` (a component's own
/// tables): a random id that no record has. The caller keeps such lists well
/// below 31999 entries.
template <class Records>
int32_t DrawFreeRecordId(IRandomSource& random, const Records& records) {
    for (;;) {
        const int32_t id = IdFromDraw(random.Next15() & 0x7FFF);
        bool taken = false;
        for (const auto& r : records) taken = taken || r.m_id == id;
        if (!taken) return id;
    }
}

}  // namespace zor2
