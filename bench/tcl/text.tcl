# Appending to a text and to the question in a loop (as scripts/text.txt).
proc run {} {
    set t ""
    set question ""
    for {set k 1} {$k <= 2000} {incr k} {
        set t "${t}x"
        append question "$k "
    }
    append question "\r\n" $t
    return $question
}

# Run as a script: tclsh FILE [N] prints the question text N times.
if {[info exists argv0] && [file normalize [info script]] eq [file normalize $argv0]} {
    set n [expr {$argc > 0 ? [lindex $argv 0] : 1}]
    for {set r 0} {$r < $n} {incr r} {
        puts [run]
    }
}
