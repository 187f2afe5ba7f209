# A typical question: two draws, a sum, a branch, the texts and the answers
# (as scripts/question.txt). Returns the question text.
proc run {} {
    set title "Sums of two numbers"
    set category Addition
    set description "Adds two two-digit numbers."
    set a [expr {int(round(rand() * 89 + 10))}]
    set b [expr {int(round(rand() * 89 + 10))}]
    set c [expr {$a + $b}]
    set d [expr {$c % 10}]
    set question ""
    if {$c >= 100} {
        append question "Carry over a hundred.\r\n"
    } else {
        append question "No carry.\r\n"
    }
    set q "$a + $b"
    append question "$q = ?"
    if {$d == 0} {
        append question "\r\n(ends in 0)"
    }
    set answer "$c"
    append answer "_"
    append answer "$c.0"
    return $question
}

# Run as a script: tclsh FILE [N] prints the question text N times.
if {[info exists argv0] && [file normalize [info script]] eq [file normalize $argv0]} {
    set n [expr {$argc > 0 ? [lindex $argv 0] : 1}]
    for {set r 0} {$r < $n} {incr r} {
        puts [run]
    }
}
