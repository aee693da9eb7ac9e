#include "platform/dbf/key_expr.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>

namespace kestrel::dbf {

namespace {

struct Value {
    enum Type { kText, kNumber, kDate, kBool } type = kText;
    std::string s;  // text, or a date as "YYYYMMDD" / 8 blanks
    double n = 0;
    bool b = false;
    int width = 10, decimals = 0;  // of numbers
};

using Node = std::function<void(const Record&, Value&)>;

struct Compiled {
    Node eval;
    Value::Type type;
};

long JulianDay(const std::string& ymd) {
    int y = std::stoi(ymd.substr(0, 4)), m = std::stoi(ymd.substr(4, 2)),
        d = std::stoi(ymd.substr(6, 2));
    int a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365L * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

bool IsBlankDate(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

class Parser {
  public:
    Parser(const std::vector<Field>& fields, std::string_view text)
        : fields_(fields), text_(text) {}

    Status Parse(Compiled* out) {
        Status s = Or(out);
        if (s.ok()) {
            Skip();
            if (pos_ != text_.size()) s = Error("unexpected text");
        }
        return s;
    }

  private:
    Status Error(const std::string& what) {
        return Status::InvalidArgument(what + " at column " + std::to_string(pos_ + 1) + " of \"" +
                                       std::string(text_) + "\"");
    }
    void Skip() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    bool Accept(std::string_view word) {
        Skip();
        if (text_.size() - pos_ < word.size()) return false;
        for (size_t i = 0; i < word.size(); ++i) {
            if (std::toupper(static_cast<unsigned char>(text_[pos_ + i])) != word[i]) return false;
        }
        pos_ += word.size();
        return true;
    }

    Status Or(Compiled* out) {
        Status s = And(out);
        while (s.ok() && Accept(".OR.")) {
            Compiled r;
            s = And(&r);
            if (s.ok()) s = Logical(out, r, false);
        }
        return s;
    }
    Status And(Compiled* out) {
        Status s = Not(out);
        while (s.ok() && Accept(".AND.")) {
            Compiled r;
            s = Not(&r);
            if (s.ok()) s = Logical(out, r, true);
        }
        return s;
    }
    Status Logical(Compiled* l, const Compiled& r, bool is_and) {
        if (l->type != Value::kBool || r.type != Value::kBool)
            return Error("logical value expected");
        Node a = l->eval, b = r.eval;
        l->eval = [a, b, is_and](const Record& rec, Value& v) {
            a(rec, v);
            bool x = v.b;
            if (x == is_and) b(rec, v);
            v.type = Value::kBool;
        };
        return Status::Ok();
    }
    Status Not(Compiled* out) {
        if (Accept("!") || Accept(".NOT.")) {
            Status s = Not(out);
            if (!s.ok()) return s;
            if (out->type != Value::kBool) return Error("logical value expected after !");
            Node a = out->eval;
            out->eval = [a](const Record& rec, Value& v) {
                a(rec, v);
                v.b = !v.b;
            };
            return Status::Ok();
        }
        return Compare(out);
    }
    Status Compare(Compiled* out) {
        Status s = Sum(out);
        if (!s.ok()) return s;
        static const char* ops[] = {"==", "<>", "<=", ">=", "=", "#", "<", ">"};
        for (const char* op : ops) {
            if (!Accept(op)) continue;
            Compiled r;
            s = Sum(&r);
            if (!s.ok()) return s;
            if (r.type != out->type) return Error("values of two types compared");
            std::string o = op;
            Node a = out->eval, b = r.eval;
            out->type = Value::kBool;
            out->eval = [a, b, o](const Record& rec, Value& v) {
                Value w;
                a(rec, v);
                b(rec, w);
                int c = 0;
                if (v.type == Value::kNumber) {
                    c = v.n < w.n ? -1 : (v.n > w.n ? 1 : 0);
                } else if (v.type == Value::kBool) {
                    c = static_cast<int>(v.b) - static_cast<int>(w.b);
                } else {
                    c = v.s.compare(w.s);
                }
                bool r = o == "=" || o == "=="   ? c == 0
                         : o == "<>" || o == "#" ? c != 0
                         : o == "<"              ? c < 0
                         : o == ">"              ? c > 0
                         : o == "<="             ? c <= 0
                                                 : c >= 0;
                v.type = Value::kBool;
                v.b = r;
            };
            return Status::Ok();
        }
        return Status::Ok();
    }
    Status Sum(Compiled* out) {
        Status s = Term(out);
        while (s.ok() && Accept("+")) {
            Compiled r;
            s = Term(&r);
            if (!s.ok()) return s;
            if (r.type != out->type || (r.type != Value::kText && r.type != Value::kNumber)) {
                return Error("+ needs two texts or two numbers");
            }
            Node a = out->eval, b = r.eval;
            if (out->type == Value::kText) {
                out->eval = [a, b](const Record& rec, Value& v) {
                    Value w;
                    a(rec, v);
                    b(rec, w);
                    v.s += w.s;
                };
            } else {
                out->eval = [a, b](const Record& rec, Value& v) {
                    Value w;
                    a(rec, v);
                    b(rec, w);
                    v.n += w.n;
                };
            }
        }
        return s;
    }

    Status Args(std::vector<Compiled>* args) {
        if (Accept(")")) return Status::Ok();
        for (;;) {
            Compiled c;
            Status s = Or(&c);
            if (!s.ok()) return s;
            args->push_back(c);
            if (Accept(")")) return Status::Ok();
            if (!Accept(",")) return Error("',' or ')' expected");
        }
    }

    static bool Named(const std::string& name, const char* full) {
        std::string f = full;
        if (name == f) return true;
        return name.size() >= 4 && name.size() < f.size() && f.compare(0, name.size(), name) == 0;
    }

    Status Function(const std::string& name, std::vector<Compiled> a, Compiled* out);

    Status Term(Compiled* out) {
        Skip();
        if (pos_ >= text_.size()) return Error("value expected");
        char c = text_[pos_];
        if (c == '(') {
            ++pos_;
            Status s = Or(out);
            if (s.ok() && !Accept(")")) s = Error("')' expected");
            return s;
        }
        if (c == '"' || c == '\'') {
            size_t end = text_.find(c, pos_ + 1);
            if (end == std::string_view::npos) return Error("unclosed text");
            std::string lit(text_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = end + 1;
            out->type = Value::kText;
            out->eval = [lit](const Record&, Value& v) {
                v.type = Value::kText;
                v.s = lit;
            };
            return Status::Ok();
        }
        if (Accept(".T.") || Accept(".F.")) {
            bool b = std::toupper(static_cast<unsigned char>(text_[pos_ - 2])) == 'T';
            out->type = Value::kBool;
            out->eval = [b](const Record&, Value& v) {
                v.type = Value::kBool;
                v.b = b;
            };
            return Status::Ok();
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t start = pos_;
            while (pos_ < text_.size() &&
                   (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) {
                ++pos_;
            }
            double n = std::stod(std::string(text_.substr(start, pos_ - start)));
            out->type = Value::kNumber;
            out->eval = [n](const Record&, Value& v) {
                v.type = Value::kNumber;
                v.n = n;
                v.width = 10;
                v.decimals = 0;
            };
            return Status::Ok();
        }
        if (!std::isalpha(static_cast<unsigned char>(c)) && c != '_')
            return Error("value expected");
        std::string name;
        while (pos_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(text_[pos_++])));
        }
        if (Accept("(")) {
            std::vector<Compiled> args;
            Status s = Args(&args);
            if (!s.ok()) return s;
            return Function(name, std::move(args), out);
        }
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (fields_[i].name != name) continue;
            const Field f = fields_[i];
            const int idx = static_cast<int>(i);
            switch (f.type) {
                case FieldType::kNumeric:
                    out->type = Value::kNumber;
                    out->eval = [idx, f](const Record& r, Value& v) {
                        v.type = Value::kNumber;
                        v.n = r.GetNumber(idx);
                        v.width = f.length;
                        v.decimals = f.decimals;
                    };
                    break;
                case FieldType::kLogical:
                    out->type = Value::kBool;
                    out->eval = [idx](const Record& r, Value& v) {
                        v.type = Value::kBool;
                        v.b = r.GetLogical(idx);
                    };
                    break;
                default:
                    out->type = f.type == FieldType::kDate ? Value::kDate : Value::kText;
                    out->eval = [idx, t = out->type](const Record& r, Value& v) {
                        v.type = t;
                        v.s.assign(r.Raw(idx));
                    };
            }
            return Status::Ok();
        }
        return Error("unknown field " + name);
    }

    const std::vector<Field>& fields_;
    std::string_view text_;
    size_t pos_ = 0;
};

Status Parser::Function(const std::string& name, std::vector<Compiled> a, Compiled* out) {
    auto want = [&](size_t lo, size_t hi) { return a.size() >= lo && a.size() <= hi; };
    auto arg_types = [&](std::initializer_list<Value::Type> types) {
        size_t i = 0;
        for (Value::Type t : types) {
            if (i < a.size() && a[i].type != t) return false;
            ++i;
        }
        return true;
    };
    std::vector<Node> n;
    for (auto& c : a) n.push_back(c.eval);
    if (Named(name, "STR") || Named(name, "STRZERO")) {
        bool zero = name.size() > 4 && name[3] == 'Z';
        if (!want(1, 3) || !arg_types({Value::kNumber, Value::kNumber, Value::kNumber})) {
            return Error(name + "(number[, width[, decimals]]) expected");
        }
        out->type = Value::kText;
        out->eval = [n, zero](const Record& r, Value& v) {
            Value w, d;
            n[0](r, v);
            int width = v.width, dec = v.decimals;
            if (n.size() > 1) {
                n[1](r, w);
                width = static_cast<int>(w.n);
                dec = 0;
            }
            if (n.size() > 2) {
                n[2](r, d);
                dec = static_cast<int>(d.n);
            }
            std::string text;
            if (!FormatNumber(v.n, width, dec, &text)) text.assign(width, '*');
            if (zero) {
                for (char& c : text) c = c == ' ' ? '0' : c;
            }
            v.type = Value::kText;
            v.s = text;
        };
        return Status::Ok();
    }
    if (Named(name, "DTOS")) {
        if (!want(1, 1) || a[0].type != Value::kDate) return Error("DToS(date) expected");
        out->type = Value::kText;
        out->eval = [n](const Record& r, Value& v) {
            n[0](r, v);
            v.type = Value::kText;
        };
        return Status::Ok();
    }
    if (Named(name, "SUBSTR") || Named(name, "LEFT") || Named(name, "RIGHT")) {
        int kind = name[0] == 'S' ? 0 : (name[0] == 'L' ? 1 : 2);
        if (!want(kind == 0 ? 2 : 2, kind == 0 ? 3 : 2) ||
            !arg_types({Value::kText, Value::kNumber, Value::kNumber})) {
            return Error(name + " of a text expected");
        }
        out->type = Value::kText;
        out->eval = [n, kind](const Record& r, Value& v) {
            Value x, y;
            n[0](r, v);
            n[1](r, x);
            long len = static_cast<long>(v.s.size());
            long from = 0, count = len;
            if (kind == 0) {
                from = static_cast<long>(x.n) - 1;
                if (n.size() > 2) {
                    n[2](r, y);
                    count = static_cast<long>(y.n);
                }
            } else if (kind == 1) {
                count = static_cast<long>(x.n);
            } else {
                count = static_cast<long>(x.n);
                from = len - count;
            }
            from = std::max(0L, std::min(from, len));
            count = std::max(0L, std::min(count, len - from));
            v.s = v.s.substr(from, count);
        };
        return Status::Ok();
    }
    if (Named(name, "UPPER")) {
        if (!want(1, 1) || a[0].type != Value::kText) return Error("Upper(text) expected");
        out->type = Value::kText;
        out->eval = [n](const Record& r, Value& v) {
            n[0](r, v);
            for (char& c : v.s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        };
        return Status::Ok();
    }
    if (Named(name, "YEAR") || Named(name, "MONTH") || Named(name, "DAY") ||
        Named(name, "DESCEND")) {
        if (!want(1, 1) || a[0].type != Value::kDate) return Error(name + "(date) expected");
        int from = name[0] == 'Y' ? 0 : (name[0] == 'M' ? 4 : 6);
        int len = from == 0 ? 4 : 2, width = name[0] == 'Y' ? 4 : 3;
        bool descend = name[0] == 'D' && name[1] == 'E';
        out->type = Value::kNumber;
        out->eval = [n, from, len, width, descend](const Record& r, Value& v) {
            n[0](r, v);
            bool blank = IsBlankDate(v.s);
            v.type = Value::kNumber;
            v.decimals = 0;
            if (descend) {
                v.n = blank ? 5231808 : 5231808 - JulianDay(v.s);
                v.width = 8;
            } else {
                v.n = blank ? 0 : std::stoi(v.s.substr(from, len));
                v.width = width;
            }
        };
        return Status::Ok();
    }
    if (Named(name, "EMPTY")) {
        if (!want(1, 1)) return Error("Empty(value) expected");
        out->type = Value::kBool;
        out->eval = [n](const Record& r, Value& v) {
            n[0](r, v);
            bool e = v.type == Value::kNumber ? v.n == 0
                     : v.type == Value::kBool ? !v.b
                                              : v.s.find_first_not_of(' ') == std::string::npos;
            v.type = Value::kBool;
            v.b = e;
        };
        return Status::Ok();
    }
    if (Named(name, "SPACE")) {
        if (!want(1, 1) || a[0].type != Value::kNumber) return Error("Space(number) expected");
        out->type = Value::kText;
        out->eval = [n](const Record& r, Value& v) {
            n[0](r, v);
            v.type = Value::kText;
            v.s.assign(static_cast<size_t>(std::max(0.0, v.n)), ' ');
        };
        return Status::Ok();
    }
    if (Named(name, "IIF")) {
        if (!want(3, 3) || a[0].type != Value::kBool || a[1].type != a[2].type) {
            return Error("IIf(condition, a, b) with a and b of one type expected");
        }
        out->type = a[1].type;
        out->eval = [n](const Record& r, Value& v) {
            n[0](r, v);
            n[v.b ? 1 : 2](r, v);
        };
        return Status::Ok();
    }
    return Error("unknown function " + name);
}

}  // namespace

Status CompileKey(const std::vector<Field>& fields, std::string_view text, KeyFunction* out) {
    Compiled c;
    Status s = Parser(fields, text).Parse(&c);
    if (!s.ok()) return s;
    Node eval = c.eval;
    *out = [eval](const Record& r, std::string* key) {
        Value v;
        eval(r, v);
        switch (v.type) {
            case Value::kNumber:
                key->append(NumericKey(v.n, v.width, v.decimals));
                break;
            case Value::kBool:
                key->push_back(v.b ? 'T' : 'F');
                break;
            default:
                key->append(v.s);
        }
    };
    return Status::Ok();
}

Status CompileCondition(const std::vector<Field>& fields, std::string_view text, ForFunction* out) {
    *out = nullptr;
    if (text.find_first_not_of(' ') == std::string_view::npos) return Status::Ok();
    Compiled c;
    Status s = Parser(fields, text).Parse(&c);
    if (!s.ok()) return s;
    if (c.type != Value::kBool)
        return Status::InvalidArgument("condition is not logical: " + std::string(text));
    Node eval = c.eval;
    *out = [eval](const Record& r) {
        Value v;
        eval(r, v);
        return v.b;
    };
    return Status::Ok();
}

}  // namespace kestrel::dbf
