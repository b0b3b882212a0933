"""One-line faults planted in the C++ sources.

Every candidate is found on a copy of the line in which comments, string and character literals
are blanked out, so nothing inside them is ever mutated, and preprocessor lines are skipped. A
fault replaces exactly one line; the line's original text is kept so it can be put back.
"""

import hashlib
import os
import random
import re
from dataclasses import dataclass, asdict

LOG_CALL = re.compile(r"^(qDebug|qInfo|qWarning|qCritical|qCDebug|qCInfo|qCWarning|qCCritical)\b")
KEYWORDS = {"if", "for", "while", "switch", "return", "sizeof", "catch", "delete", "new", "case",
            "throw", "else", "do", "goto", "decltype", "static_assert", "alignof", "typeid"}
COMPARISON = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
FLIPPED = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}
LOGICAL = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
BOOLEAN = re.compile(r"\b(true|false)\b")
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
CONDITION = re.compile(r"\b(if|while)\s*\(")
ASSIGNMENT = re.compile(r"^[\w.\->\[\]*:()]+\s*(=|\+=|-=|\*=|/=|%=|\|=|&=|\^=|<<=|>>=)\s*\S.*;$")
INCREMENT = re.compile(r"^(\+\+|--)?[\w.\->\[\]]+(\+\+|--)?;$")
DECLARED = re.compile(r"^(const\s+)?[\w:<>]+\s*[*&]*\s*\w+$")
DEFAULTED = re.compile(r"(?<![=!<>])=(?!=)")
BOOLEAN_LOOKING = re.compile(r"==|!=| < | > |<=|>=|&&|\|\||!|\b(is|has|can|should|contains|exists|"
                             r"startsWith|endsWith|empty|isEmpty|isNull|isValid)\w*\s*\(")


@dataclass
class Fault:
    path: str  # relative to the tree's root
    line: int  # 1-based
    column: int  # 1-based, where the change starts
    kind: str
    original: str
    mutated: str

    @property
    def id(self):
        key = f"{self.path}:{self.line}:{self.column}:{self.kind}:{self.mutated}"
        return hashlib.sha1(key.encode()).hexdigest()[:10]

    @property
    def log_only(self):
        return self.kind == "remove-log"

    def as_dict(self):
        return dict(asdict(self), id=self.id)


def blank_literals(lines):
    """Returns the lines with comments and string/char literals replaced by spaces (same columns),
    and None for preprocessor lines and their continuations."""
    out, closing, in_directive = [], None, False  # closing: "*/" or a raw string's end
    for text in lines:
        if in_directive or (closing is None and text.lstrip().startswith("#")):
            in_directive = text.rstrip().endswith("\\")
            out.append(None)
            continue
        chars, i, n = list(text), 0, len(text)
        while i < n:
            if closing:
                end = text.find(closing, i)
                stop = n if end < 0 else end + len(closing)
                chars[i:stop] = " " * (stop - i)
                closing = closing if end < 0 else None
                i = stop
            elif text.startswith("//", i):
                chars[i:n] = " " * (n - i)
                i = n
            elif text.startswith("/*", i):
                closing = "*/"
            elif text.startswith('R"', i) and (i == 0 or not text[i - 1].isalnum()):
                delimiter = re.match(r'R"([^(]*)\(', text[i:])
                closing = ")" + (delimiter.group(1) if delimiter else "") + '"'
                chars[i:i + 2] = "  "
                i += 2
            elif text[i] in "\"'" and not (text[i] == "'" and i > 0 and text[i - 1].isalnum()):
                stop = literal_end(text, i)
                chars[i:stop] = " " * (stop - i)
                i = stop
            else:
                i += 1
        out.append("".join(chars))
    return out


def literal_end(text, start):
    """Index just past the string or character literal opening at start."""
    i = start + 1
    while i < len(text) and text[i] != text[start]:
        i += 2 if text[i] == "\\" else 1
    return min(i + 1, len(text))


def matching_paren(code, open_index):
    depth = 0
    for i in range(open_index, len(code)):
        depth += {"(": 1, ")": -1}.get(code[i], 0)
        if depth == 0:
            return i
    return -1


def split_top_level(code):
    parts, depth, start = [], 0, 0
    for i, c in enumerate(code):
        depth += {"(": 1, "[": 1, "{": 1, "<": 1, ")": -1, "]": -1, "}": -1, ">": -1}.get(c, 0)
        if c == "," and depth == 0:
            parts.append((start, i))
            start = i + 1
    return parts + [(start, len(code))]


def replaced(text, start, end, new):
    return text[:start] + new + text[end:]


def token_faults(text, code):
    """Comparisons, logical operators, booleans and integer constants: (kind, column, new line)."""
    for m in COMPARISON.finditer(code):
        yield "flip-comparison", m.start(), replaced(text, m.start(), m.end(), FLIPPED[m.group(1)])
    for m in LOGICAL.finditer(code):
        other = "||" if m.group(1) == "&&" else "&&"
        yield "swap-logical", m.start(), replaced(text, m.start(), m.end(), other)
    for m in BOOLEAN.finditer(code):
        other = "false" if m.group(1) == "true" else "true"
        yield "flip-boolean", m.start(), replaced(text, m.start(), m.end(), other)
    for m in INTEGER.finditer(code):
        value = int(m.group(1))
        yield "constant+1", m.start(), replaced(text, m.start(), m.end(), str(value + 1))
        if value > 0:
            yield "constant-1", m.start(), replaced(text, m.start(), m.end(), str(value - 1))


def condition_faults(text, code):
    """if/while conditions, boolean-looking returns and ternary conditions, negated."""
    for m in CONDITION.finditer(code):
        close = matching_paren(code, m.end() - 1)
        if close > m.end():
            inner = text[m.end():close]
            yield "negate-condition", m.start(), replaced(text, m.end(), close, f"!({inner})")
    stripped = code.strip()
    if stripped.startswith("return ") and stripped.endswith(";") and " ? " not in stripped:
        start = code.index("return ") + len("return ")
        end = code.rindex(";")
        if BOOLEAN_LOOKING.search(code[start:end].replace("->", "")):
            yield "negate-return", start, replaced(text, start, end, f"!({text[start:end]})")
    question = code.find(" ? ")
    if question > 0 and " : " in code[question:]:
        start = ternary_start(code, question)
        if start < question:
            cond = text[start:question]
            yield "negate-condition", start, replaced(text, start, question, f"!({cond})")


def ternary_start(code, question):
    depth, i = 0, question - 1
    while i >= 0:
        c = code[i]
        if c == ")":
            depth += 1
        elif c == "(":
            if depth == 0:
                break
            depth -= 1
        elif depth == 0 and (c in "=,{;" or code[max(0, i - 6):i + 1] == "return "):
            break
        i -= 1
    start = i + 1
    while start < question and code[start] == " ":
        start += 1
    return start


def statement_faults(text, code, previous_code):
    """Single-line calls, assignments and emissions removed (an empty block keeps an unbraced
    if/else body well formed)."""
    stripped = code.strip()
    if not stripped.endswith(";") or previous_code is None:
        return
    if not previous_code.rstrip().endswith((";", "{", "}", ":", ")")) and previous_code.strip():
        return
    if previous_code.rstrip().endswith("::"):
        return
    body = stripped[:-1].rstrip()
    if body.count("(") != body.count(")") or body.count("{") != body.count("}"):
        return
    indent = text[: len(text) - len(text.lstrip())]
    column = len(indent)
    if body.startswith("emit "):
        yield "remove-emit", column, indent + "{}"
    elif LOG_CALL.match(body):
        yield "remove-log", column, indent + "{}"
    elif is_call(body) or ASSIGNMENT.match(stripped) or INCREMENT.match(stripped):
        word = re.match(r"[\w:]*", body).group(0)
        if word not in KEYWORDS and not re.fullmatch(r"[A-Z_][A-Z0-9_]*", word):
            yield "remove-statement", column, indent + "{}"


def is_call(body):
    head = body.split("(", 1)[0]
    return body.endswith(")") and "(" in body and not re.search(r"\s", head) and head != ""


def swap_faults(text, code):
    """Two-argument calls whose arguments are swapped (the compiler rejects what types forbid)."""
    if LOG_CALL.match(code.strip()):
        return
    for m in re.finditer(r"\b(\w+)\s*\(", code):
        name = m.group(1)
        if name in KEYWORDS or re.fullmatch(r"[A-Z_][A-Z0-9_]*", name):
            continue
        close = matching_paren(code, m.end() - 1)
        if close < 0:
            continue
        inner = code[m.end():close]
        parts = split_top_level(inner)
        if len(parts) != 2:
            continue
        (a0, a1), (b0, b1) = parts
        first = text[m.end() + a0:m.end() + a1].strip()
        second = text[m.end() + b0:m.end() + b1].strip()
        if not first or not second or first == second:
            continue
        if any(DECLARED.match(a) or DEFAULTED.search(a) for a in (first, second)) or "{" in inner:
            continue
        yield "swap-arguments", m.end(), replaced(text, m.end(), close, f"{second}, {first}")


def early_return_faults(lines, code_lines):
    """A return as the first statement of a function defined at file level (body brace alone at
    column 0, as the formatter writes it)."""
    for index, code in enumerate(code_lines):
        if code is None or code.rstrip() != "{" or index == 0:
            continue
        signature = []
        j = index - 1
        while j >= 0 and code_lines[j] is not None and code_lines[j].strip():
            line = code_lines[j]
            if line.rstrip().endswith((";", "}")) and not line.startswith((" ", ":")):
                break
            signature.insert(0, line.strip())
            j -= 1
        head = " ".join(signature)
        if not head or not head[0].isalpha() or "(" not in head:
            continue
        if head.startswith(("class ", "struct ", "namespace ", "enum ", "union ")):
            continue
        name = head.split("(", 1)[0].split()
        is_void = re.match(r"((static|inline)\s+)*void\s+[\w:~]", head)
        constructor = len(name) == 1 and re.search(r"(\w+)::~?\1$", name[0])
        statement = "return;" if is_void or constructor else "return {};"
        yield index, "early-return", 0, "{ " + statement


def faults_in_file(path, lines):
    code_lines = blank_literals(lines)
    found = []
    previous = ""
    for index, (text, code) in enumerate(zip(lines, code_lines)):
        if code is None or not code.strip():
            previous = None if code is None else previous
            continue
        for producer in (token_faults(text, code), condition_faults(text, code),
                         swap_faults(text, code), statement_faults(text, code, previous)):
            for kind, column, mutated in producer:
                if mutated != text:
                    found.append(Fault(path, index + 1, column + 1, kind, text, mutated))
        previous = code
    for index, kind, column, mutated in early_return_faults(lines, code_lines):
        found.append(Fault(path, index + 1, column + 1, kind, lines[index], mutated))
    return found


def source_files(root, paths):
    """The C++ sources below src/ (or the given folders of it), in a stable order."""
    folders = paths or ["src"]
    files = []
    for folder in folders:
        for base, dirs, names in os.walk(os.path.join(root, folder)):
            dirs.sort()
            files += [os.path.relpath(os.path.join(base, n), root) for n in names
                      if n.endswith((".cpp", ".h"))]
    return sorted(set(files))


def enumerate_faults(root, paths=None):
    faults = []
    for path in source_files(root, paths):
        with open(os.path.join(root, path), encoding="utf-8") as f:
            lines = f.read().split("\n")
        faults += faults_in_file(path, lines)
    faults.sort(key=lambda f: (f.path, f.line, f.kind, f.column, f.mutated))
    return faults


def sample_faults(root, count, seed, paths=None):
    faults = enumerate_faults(root, paths)
    chosen = random.Random(seed).sample(faults, min(count, len(faults)))
    return sorted(chosen, key=lambda f: (f.path, f.line, f.column, f.kind))
