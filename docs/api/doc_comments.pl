#!/usr/bin/perl
# Doxygen input filter for the public headers: reads the house's plain // comments as
# documentation, so the headers keep their ordinary comment style. Line numbers stay as they are.
#
# - The comment block that opens a file documents the class, struct or enum it names first
#   ("SxfZCdbFigure: ..."), or else the file.
# - A comment on lines of its own documents the declaration below it.
# - A comment after a member, an enumerator or a one-line function documents that member (a
#   comment continued on the next lines, starting in the same column, belongs to it too).
# - "// ---- name ----" starts a member group of that name. It holds the functions and nested types
#   that follow, up to the next group, an access label, the end of the class or a blank line
#   before anything else (data members).
# - Notes to tools (clang-format, NOLINT) and the comment that closes a namespace stay plain.
use strict;
use warnings;

my $groupEnd = '/** @} */ ';
my @lines = <>;
my $i = 0;

my $end = 0;
$end++ while $end < @lines && $lines[$end] =~ m{^//};
my $subject = '@file';
if ($end > 0 && $lines[0] =~ m{^//\s*(\w+)(?:<\w+>)?:}) {
  my $name = $1;
  for my $line (@lines) {
    if ($line =~ m{^(class|struct|enum)\b[^;(]*\b\Q$name\E\b[^;]*(?:\{|:\s*\w|$)}) {
      $subject = ($1 eq 'enum' ? '@enum ' : '@class ') . $name;
      last;
    }
  }
}
for (; $i < $end; $i++) {
  $lines[$i] =~ s{^//}{///};
  $lines[$i] =~ s{\s*$}{ $subject\n} if $i == $end - 1;
}

# Whether the next declaration after line n (past blank and comment lines) is a function or a
# nested type, which a member group goes on to hold.
sub FunctionsFollow {
  my ($n) = @_;
  $n++ while $n < @lines && $lines[$n] =~ m{^\s*(?://.*)?$};
  return $n < @lines && $lines[$n] =~ /\(|^\s*(?:class|struct|enum|template)\b/;
}

my $trailColumn = -1;  # column of the trailing comment on the line before, or -1
my $depth = 0;         # braces open before the line
my $groupDepth;        # brace depth of the open member group, or undef
for (; $i < @lines; $i++) {
  my $line = $lines[$i];
  my $code = $line =~ s{//.*}{}r =~ s{"(?:[^"\\]|\\.)*"}{}gr;
  my $depthBefore = $depth;
  $depth += (() = $code =~ /\{/g) - (() = $code =~ /\}/g);

  if ($line =~ m{^(\s*)//\s*-{3,}\s*(.*?)\s*-{3,}\s*$}) {
    my $close = defined $groupDepth ? $groupEnd : '';
    $groupDepth = $depthBefore;
    $lines[$i] = "$1$close/** \@name $2 */ /** \@{ */\n";
    $trailColumn = -1;
    next;
  }
  if (defined $groupDepth && $depthBefore == $groupDepth
      && (($line =~ /^\s*$/ && !FunctionsFollow($i + 1))
          || $line =~ /^\s*(?:public|protected|private):/ || $depth < $groupDepth)) {
    $line =~ /^([ \t]*)(.*)$/s;
    $lines[$i] = $1 . $groupEnd . $2;
    $line = $lines[$i];
    undef $groupDepth;
  }

  if ($line =~ m{//\s*(?:clang-format|NOLINT|namespace)\b}) {
    $trailColumn = -1;
    next;
  }
  if ($line =~ m{^(\s*)//(.*)$}) {
    my ($indent, $text) = ($1, $2);
    my $continued = length($indent) == $trailColumn;
    $lines[$i] = $continued ? "$indent///<$text\n" : "$indent///$text\n";
    $trailColumn = -1 unless $continued;
    next;
  }
  $trailColumn = -1;
  my $at = index($line, '//');
  next if $at < 0;
  my $before = substr($line, 0, $at);
  next if (() = $before =~ /"/g) % 2;  # inside a string literal
  my $text = substr($line, $at + 2);
  if ($before =~ /[;,]\s*$/ || ($before =~ /\}\s*$/ && $before =~ /\(/)) {
    $lines[$i] = $before . '///<' . $text;
    $trailColumn = $at;
  }
}
print @lines;
