#!/usr/bin/env python3
"""Writes the program folder the recipe page tests copy: "program" beside this file.

GBK with CR LF unless a case says otherwise.
"""
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "program")


def put(rel, data):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def gbk(text):
    return text.replace("\n", "\r\n").encode("gbk")


shutil.rmtree(ROOT, ignore_errors=True)
put("Lib/问候.Ini", gbk("""[ItemList]
ItemCount=2
ItemName1=早安
ItemName2=晚安

[早安]
  早上好！  
Good morning

祝你今天愉快
[晚安]
晚安，好梦


"""))
put("Lib/empty.Ini", gbk("[ItemList]\nItemCount=0\n"))
put("Lib/hello.Txt", gbk("第一行\nsecond line\n"))
# Not GBK: a lead byte with a bad trail byte, and a NUL.
put("Lib/bad.Txt", b"ok\x81\x20mid\x00end\r\n")
put("Lib/Sub/note.Txt", gbk("便条\n"))
# Outside the library although under the program folder.
put("Theme/old.Txt", gbk("旧的\n"))
