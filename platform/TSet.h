// A set of enumeration values over a bitset, for option, state and style sets.
// Enumerators must lie in 0 .. N - 1.
#pragma once

#include <bitset>
#include <cstddef>
#include <initializer_list>
#include <type_traits>

template <typename E, std::size_t N = 64> class TSet
{
    static_assert(std::is_enum_v<E>, "TSet holds enumeration values");

public:
    using value_type = E;

    TSet() = default;
    TSet(E e) { m_bits.set(index(e)); }
    TSet(std::initializer_list<E> list)
    {
        for (E e : list)
            m_bits.set(index(e));
    }

    bool Contains(E e) const { return m_bits.test(index(e)); }
    bool IsEmpty() const { return m_bits.none(); }
    std::size_t Count() const { return m_bits.count(); }

    TSet &Include(E e)
    {
        m_bits.set(index(e));
        return *this;
    }
    TSet &Exclude(E e)
    {
        m_bits.reset(index(e));
        return *this;
    }
    TSet &Clear()
    {
        m_bits.reset();
        return *this;
    }
    // Include or exclude by a flag, which is how most setters use a set.
    TSet &Set(E e, bool on) { return on ? Include(e) : Exclude(e); }

    // + union, - difference, * intersection.
    friend TSet operator+(TSet a, const TSet &b)
    {
        a.m_bits |= b.m_bits;
        return a;
    }
    friend TSet operator-(TSet a, const TSet &b)
    {
        a.m_bits &= ~b.m_bits;
        return a;
    }
    friend TSet operator*(TSet a, const TSet &b)
    {
        a.m_bits &= b.m_bits;
        return a;
    }
    TSet &operator+=(const TSet &b) { return *this = *this + b; }
    TSet &operator-=(const TSet &b) { return *this = *this - b; }
    TSet &operator*=(const TSet &b) { return *this = *this * b; }

    // a <= b: every member of a is in b.
    friend bool operator<=(const TSet &a, const TSet &b) { return (a.m_bits & ~b.m_bits).none(); }
    friend bool operator==(const TSet &a, const TSet &b) { return a.m_bits == b.m_bits; }
    friend bool operator!=(const TSet &a, const TSet &b) { return !(a == b); }

    const std::bitset<N> &Bits() const { return m_bits; }

private:
    static std::size_t index(E e)
    {
        return static_cast<std::size_t>(static_cast<std::underlying_type_t<E>>(e));
    }

    std::bitset<N> m_bits;
};
