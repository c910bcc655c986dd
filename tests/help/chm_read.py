#!/usr/bin/env python3
"""Reads the index and the full-text search words out of files extracted from a
compiled help file, one entry a line (UTF-8).

  chm_read.py index  '$WWKeywordLinks/BTree'   keywords of the binary index
  chm_read.py search '$FIftiMain'              words of the full-text search
"""
import struct
import sys


def index_keywords(data):
    # A 0x4c-byte header, then 2048-byte blocks: free space, entry count,
    # previous and next block, then the entries (UTF-16 keyword, see-also flag,
    # depth, comma position, 0, topic count, topics or see-also text, 1, counter).
    words = []
    block = 0x4C
    while block + 2048 <= len(data):
        _free, count, _prev, _next = struct.unpack_from('<HHii', data, block)
        pos = block + 12
        for _ in range(count):
            end = pos
            while data[end:end + 2] != b'\0\0':
                end += 2
            words.append(data[pos:end].decode('utf-16-le'))
            pos = end + 2
            see_also, _depth, _comma, _zero, topics = struct.unpack_from('<HHIII', data, pos)
            pos += 16
            if see_also == 2:
                while data[pos:pos + 2] != b'\0\0':
                    pos += 2
                pos += 2
            else:
                pos += 4 * topics
            pos += 8
        block += 2048
    return words


def encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def search_words(data):
    # A header with the root node and the tree depth; index nodes (free space,
    # then words with the offset of their child) lead to the first of a chain
    # of 4096-byte leaf nodes (next leaf, 0, free space) whose entries share a
    # prefix with the word before them.
    if struct.unpack_from('<I', data, 0)[0] != 0x00280000:
        raise SystemExit('chm_read: not full-text search data')
    node = struct.unpack_from('<I', data, 8)[0]
    depth = struct.unpack_from('<H', data, 0x18)[0]
    while depth > 1:
        length = data[node + 2]
        node = struct.unpack_from('<I', data, node + 3 + length)[0]
        depth -= 1
    words = []
    while node:
        next_node, _zero, free = struct.unpack_from('<IHH', data, node)
        pos = node + 8
        last = b''
        while pos - node < 4096 - free:
            length, shared = data[pos], data[pos + 1]
            word = last[:shared] + data[pos + 2:pos + 1 + length]
            pos += 1 + length
            pos += 1  # title or body
            _, pos = encint(data, pos)
            pos += 6
            _, pos = encint(data, pos)
            words.append(word.decode('latin-1'))
            last = word
        node = next_node
    return words


def main():
    kind, path = sys.argv[1], sys.argv[2]
    data = open(path, 'rb').read()
    words = index_keywords(data) if kind == 'index' else search_words(data)
    sys.stdout.write(''.join(w + '\n' for w in words))


main()
