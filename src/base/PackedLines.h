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
        m_ends.push_back(m_bytes.size());
    }
    void pop_back()
    {
        m_ends.pop_back();
        m_bytes.resize(m_ends.empty() ? 0 : m_ends.back());
    }
    void clear()
    {
        std::string().swap(m_bytes);
        std::vector<std::size_t>().swap(m_ends);
    }

    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t i) const
    {
        const std::size_t from = i == 0 ? 0 : m_ends[i - 1];
        return std::string_view(m_bytes).substr(from, m_ends[i] - from);
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
    std::string m_bytes;
    std::vector<std::size_t> m_ends; // where each line ends in m_bytes
};

} // namespace vomra
