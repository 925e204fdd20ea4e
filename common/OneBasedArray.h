#pragma once

#include <cstddef>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace OneBasedDetail {
// std::vector<bool> packs its elements into bits and hands out proxies, not bool&; one byte
// per flag keeps element references real.
struct BoolSlot
{
    bool value = false;
    BoolSlot() = default;
    BoolSlot(bool flag) : value(flag) {}
    operator bool() const { return value; }
    bool operator==(const BoolSlot &) const = default;
};
template <typename T> using Stored = std::conditional_t<std::is_same_v<T, bool>, BoolSlot, T>;
} // namespace OneBasedDetail

// An array whose first element is number 1, as every table and per-question list of the
// program counts. Every access is range-checked: a wrong index is a programming error and
// must never read a neighbour's data.
template <typename T> class OneBasedArray
{
public:
    OneBasedArray() = default;
    explicit OneBasedArray(int count) : m_items(count > 0 ? std::size_t(count) : 0) {}

    int size() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    // Resizes to 1..count, keeping the leading elements.
    void resize(int count) { m_items.resize(count > 0 ? std::size_t(count) : 0); }
    void clear() { m_items.clear(); }
    // Resizes to 1..count and sets every element to value.
    void fill(int count, const T &value)
    {
        m_items.assign(count > 0 ? std::size_t(count) : 0, value);
    }
    void append(const T &value) { m_items.push_back(value); }
    void append(T &&value) { m_items.push_back(std::move(value)); }
    bool contains(int index) const { return index >= 1 && index <= size(); }

    T &operator[](int index) { return element(m_items.at(checkedOffset(index))); }
    const T &operator[](int index) const { return element(m_items.at(checkedOffset(index))); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    bool operator==(const OneBasedArray &other) const = default;

private:
    std::size_t checkedOffset(int index) const
    {
        if (index < 1 || index > size())
            throw std::out_of_range("OneBasedArray index out of range");
        return std::size_t(index - 1);
    }

    using Stored = OneBasedDetail::Stored<T>;
    static T &element(Stored &item)
    {
        if constexpr (std::is_same_v<T, bool>)
            return item.value;
        else
            return item;
    }
    static const T &element(const Stored &item)
    {
        if constexpr (std::is_same_v<T, bool>)
            return item.value;
        else
            return item;
    }

    std::vector<Stored> m_items;
};
