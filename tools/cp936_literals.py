#!/usr/bin/env python3
"""Rewrites the 8-bit string and character literals of C++ sources so that
their non-ASCII characters are octal escapes of their code page 936 bytes.
A compiler that accepts no execution character set but UTF-8 (clang) then
puts into the program exactly the bytes g++ puts there with
-fexec-charset=CP936. UTF-16, UTF-32, wide and u8 literals, comments and
everything else are copied as they are.

  cp936_literals.py --root SRC --out DIR FILE...   each FILE (relative to
      SRC) rewritten to DIR/FILE, written only when its text changes
  cp936_literals.py --probe OUT FILE...             a program printing the
      bytes of every non-ASCII 8-bit string literal of the FILEs, one line
      each (the test that both ways give the same bytes builds it twice)

Fails, naming the file and line, on a raw 8-bit literal with non-ASCII text
or a character code page 936 cannot encode."""
import pathlib
import sys

IDENT = set('abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_')


class SourceError(Exception):
    pass


def literals(text):
    """Yields (start, end, prefix, raw) for every string or character literal."""
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            i = text.find('\n', i)
            i = n if i < 0 else i
        elif text.startswith('/*', i):
            i = text.find('*/', i + 2)
            i = n if i < 0 else i + 2
        elif c in '"\'':
            j = i
            while j > 0 and text[j - 1] in IDENT:
                j -= 1
            word = text[j:i]
            if c == "'" and word[:1].isdigit():
                i += 1  # a digit separator
                continue
            raw = word.endswith('R') and c == '"'
            prefix = word[:-1] if raw else word
            if prefix not in ('', 'u8', 'u', 'U', 'L'):
                prefix = ''  # a macro or suffix before the quote: the literal is plain
            if raw:
                open_paren = text.index('(', i)
                delimiter = text[i + 1:open_paren]
                end = text.index(')' + delimiter + '"', open_paren) + len(delimiter) + 2
            else:
                end = i + 1
                while text[end] != c:
                    end += 2 if text[end] == '\\' else 1
                end += 1
            yield i, end, prefix, raw
            i = end
        else:
            i += 1


def line_of(text, at):
    return text.count('\n', 0, at) + 1


def encoded(body, name, line):
    out = []
    for ch in body:
        if ord(ch) < 0x80:
            out.append(ch)
            continue
        try:
            data = ch.encode('cp936')
        except UnicodeEncodeError:
            raise SourceError('%s:%d: %r has no code page 936 form' % (name, line, ch))
        # Octal escapes end after three digits, so no character after one
        # can be taken into it (a hex escape would swallow a following 'a').
        out.extend('\\%03o' % b for b in data)
    return ''.join(out)


def rewritten(text, name):
    parts, last = [], 0
    for start, end, prefix, raw in literals(text):
        literal = text[start:end]
        if prefix != '' or literal.isascii():
            continue
        if raw:
            raise SourceError('%s:%d: a raw 8-bit literal with non-ASCII text' % (name, line_of(text, start)))
        parts.append(text[last:start])
        parts.append(encoded(literal, name, line_of(text, start)))
        last = end
    parts.append(text[last:])
    return ''.join(parts)


def probe(files):
    found = []
    for path in files:
        text = pathlib.Path(path).read_text(encoding='utf-8')
        for start, end, prefix, raw in literals(text):
            literal = text[start:end]
            if prefix == '' and not raw and literal.startswith('"') and not literal.isascii():
                found.append(literal)
    rows = ''.join('    {%s, sizeof(%s)},\n' % (l, l) for l in found)
    return ('#include <cstddef>\n#include <cstdio>\n'
            'struct Literal { const char* bytes; std::size_t size; };\n'
            'const Literal kLiterals[] = {\n' + rows + '};\n'
            'int main() {\n'
            '    for (const Literal& l : kLiterals) {\n'
            '        for (std::size_t i = 0; i < l.size; ++i) std::printf("%02x", static_cast<unsigned char>(l.bytes[i]));\n'
            '        std::printf("\\n");\n'
            '    }\n'
            '    return sizeof kLiterals / sizeof kLiterals[0] > 0 ? 0 : 1;\n'
            '}\n')


def main(argv):
    try:
        if argv[:1] == ['--probe']:
            target = pathlib.Path(argv[1])
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text(probe(argv[2:]), encoding='utf-8')
            return 0
        if argv[:1] != ['--root'] or argv[2:3] != ['--out']:
            print(__doc__, file=sys.stderr)
            return 2
        root, out = pathlib.Path(argv[1]), pathlib.Path(argv[3])
        for name in argv[4:]:
            source = root / name
            text = rewritten(source.read_text(encoding='utf-8'), str(source))
            target = out / name
            if not target.exists() or target.read_text(encoding='utf-8') != text:
                target.parent.mkdir(parents=True, exist_ok=True)
                target.write_text(text, encoding='utf-8')
        return 0
    except (SourceError, ValueError, IndexError) as error:
        print('cp936_literals: %s' % error, file=sys.stderr)
        return 1


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
