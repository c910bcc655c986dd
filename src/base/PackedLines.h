#pragma once
// Lines held in one buffer: a list of a few hundred thousand short lines costs
// its bytes and an offset each, not a string object and an allocation each.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

class PackedLines {
public:
    PackedLines() = default;
    explicit PackedLines(const std::vector<std::string> &lines)
    {
        for (const std::string &line : lines)
            push_back(line);
    }

    void push_back(std::string_view line)
    {
        m_bytes.append(line);
        m_ends.push_back(m_base + m_bytes.size());
    }
    void pop_back()
    {
        m_ends.pop_back();
        m_bytes.resize((m_ends.empty() ? m_base : m_ends.back()) - m_base);
    }
    void clear()
    {
        std::string().swap(m_bytes);
        std::vector<std::size_t>().swap(m_ends);
        m_first = 0;
        m_base = 0;
    }
    // Gives back the memory of the lines before i, which are not read again;
    // the others keep their indices. Done once half the lines held are behind i,
    // so that reading a long list through costs one copy of it in all.
    void releaseBefore(std::size_t i)
    {
        if (i <= m_first || (i - m_first) * 2 < m_ends.size())
            return;
        const std::size_t from = start(i);
        m_bytes = m_bytes.substr(from - m_base);
        m_ends = std::vector<std::size_t>(m_ends.begin() + static_cast<std::ptrdiff_t>(i - m_first), m_ends.end());
        m_first = i;
        m_base = from;
    }

    std::size_t size() const { return m_first + m_ends.size(); }
    bool empty() const { return size() == 0; }
    std::string_view operator[](std::size_t i) const
    {
        const std::size_t from = start(i);
        return std::string_view(m_bytes).substr(from - m_base, m_ends[i - m_first] - from);
    }
    std::string_view back() const { return (*this)[size() - 1]; }

    std::vector<std::string> toVector() const
    {
        std::vector<std::string> out;
        out.reserve(size());
        for (std::size_t i = 0; i < size(); ++i)
            out.emplace_back((*this)[i]);
        return out;
    }

private:
    // Where line i starts, counted from the first byte ever held.
    std::size_t start(std::size_t i) const { return i == m_first ? m_base : m_ends[i - 1 - m_first]; }

    std::string m_bytes;             // the lines from m_first on
    std::vector<std::size_t> m_ends; // where each of them ends, counted as start() counts
    std::size_t m_first = 0;         // the lines before it were released
    std::size_t m_base = 0;          // where line m_first starts
};

} // namespace vomra
