#!/usr/bin/env python3
"""Writes the two registry exports the profile import tests read, as the
Windows registry editor writes them: perfis-versao5.reg ("Windows Registry
Editor Version 5.00", UTF-16 little-endian with a byte-order mark) and
perfis-regedit4.reg ("REGEDIT4", Windows-1252), both with CR LF line ends.

The scrambled strings are made here from the codec's rule, on its own: the
character at position i (1-based) moves up by 99 + (i mod 11), modulo 256;
"abc" becomes C5 C7 C9. Run it from any folder; it writes beside itself."""
import os

UNDEFINED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}  # Windows keeps these as U+0081...


def scramble(text):
    data = text.encode("cp1252")
    significant = data.strip(bytes(range(33)))
    assert data.startswith(significant), text
    out = bytes((c + 99 + (i % 11)) % 256 for i, c in enumerate(significant, start=1))
    assert out and out[0] > 32 and out[-1] > 32 and 0 not in out, text
    return out + b" " * (len(data) - len(significant))


def as_unicode(data):
    """What Windows makes of bytes stored through its ANSI interface."""
    return "".join(chr(b) if b in UNDEFINED else bytes([b]).decode("cp1252") for b in data)


def quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def hex_lines(prefix, data):
    """prefix + comma-separated bytes, wrapped as the editor wraps them."""
    items = ["%02x" % b for b in data]
    lines, line = [], prefix
    for n, item in enumerate(items):
        piece = item + ("," if n + 1 < len(items) else "")
        if len(line) + len(piece) > 77:
            lines.append(line + "\\")
            line = "  "
        line += piece
    lines.append(line)
    return lines


USER = "HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra"
OTHER_USER = "HKEY_USERS\\S-1-5-21-1004336348-1177238915-682003330-1001\\Software\\Microsoft\\Zeltra"


def body(version5):
    def string(name, text):
        return [quoted(name) + "=" + quoted(as_unicode(scramble(text)))]

    def hex_string(name, text):
        stored = scramble(text)
        data = as_unicode(stored).encode("utf-16-le") + b"\0\0" if version5 else stored + b"\0"
        return hex_lines(quoted(name) + "=hex(1):", data)

    def dword(name, n):
        return [quoted(name) + "=dword:%08x" % n]

    lines = ["Windows Registry Editor Version 5.00" if version5 else "REGEDIT4", ""]
    lines += ["[" + USER + "]", ""]
    # The codec's worked example; a password whose scrambled form holds a
    # quote and ends with a backslash; a folder with a drive.
    lines += ["[" + USER + "\\11222333000181]"]
    lines += string("Usuario", "abc") + string("Senha", "Mãe1ºó")
    lines += dword("Tipo", 0) + string("Caminho", "C:\\NFP\\LOJA1\\") + [""]
    # A hex(1) user name with an accent, long enough to wrap; a password whose scrambled form is
    # four of the bytes Windows-1252 leaves undefined; values in another order.
    lines += ["[" + USER + "\\44555666000181]"]
    lines += dword("Tipo", 1) + hex_string("Usuario", "joão da silva") + string("Senha", "9())")
    lines += string("Caminho", "C:\\Contábil\\Ação\\") + [""]
    # Another root.
    lines += ["[" + OTHER_USER + "\\77888999000181]"]
    lines += string("Usuario", "outro") + string("Senha", "Ruaõºx") + dword("Tipo", 2)
    lines += string("Caminho", "D:\\Dados\\NFP\\") + [""]
    # Keys that are no profile.
    lines += ["[" + USER + "\\Config]", quoted("Versao") + "=" + quoted("1.0.0.4"), ""]
    lines += ["[HKEY_CURRENT_USER\\Software\\Microsoft\\Outra\\11444777000161]"]
    lines += string("Usuario", "nao") + dword("Tipo", 0) + ["", ""]
    return "\r\n".join(lines)


here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "perfis-versao5.reg"), "wb") as f:
    f.write(b"\xff\xfe" + body(True).encode("utf-16-le"))
with open(os.path.join(here, "perfis-regedit4.reg"), "wb") as f:
    f.write(b"".join(bytes([ord(ch)]) if ord(ch) in UNDEFINED else ch.encode("cp1252") for ch in body(False)))
